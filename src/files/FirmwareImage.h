#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tdxx {

inline constexpr std::size_t kFirmwareImageSize = 64448;

// The firmware read from a UPG file, indexed by flash address.
struct FirmwareImage {
  std::array<std::uint8_t, kFirmwareImageSize> image{};
  std::uint32_t imageLength = 0;  // 64000 or 64448 after a successful read
  std::uint8_t versionByte = 0;   // major digit in the high four bits, minor in the low four
};

}  // namespace tdxx
