#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tdxx {

// What the identity feature report adds to the found text.
struct ModelSuffix {
  std::string_view text;
  bool model947 = false;  // the bootloader belongs to a 947: detection gives it kind 13
};

// Suffix from the 9-byte identity report of a TDxx/WKxxx or TDSxx bootloader (kinds 4, 7):
// bytes 2 to 5 hold the model name, byte 6 the series ('v' TD, 's' TDS).
ModelSuffix BootloaderModelSuffix(const std::array<std::uint8_t, 9>& report);

// Suffix from the 9-byte identity report of the 917 bootloader (kind 3): ".00." when bytes 7
// and 8 are "17", otherwise ".".
std::string_view Bootloader917Suffix(const std::array<std::uint8_t, 9>& report);

// Suffix from the 6-byte identity report of a device in PRG/TMode (kind 9).
std::string_view PrgTModeModelSuffix(const std::array<std::uint8_t, 6>& report);

}  // namespace tdxx
