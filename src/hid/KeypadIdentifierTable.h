#pragma once

#include <array>
#include <cstdint>

#include "hid/DeviceKind.h"

namespace tdxx {

// One row of the identifier table: both identifiers must match for the kind to apply.
struct KeypadIdentifier {
  std::uint16_t vendorId;
  std::uint16_t productId;
  DeviceKind kind;
};

// Every (vendor, product) pair the loader recognises; any other pair is not one of ours.
inline constexpr std::array<KeypadIdentifier, 13> kKeypadIdentifierTable{{
    {0x04B4, 0x0A0A, 1},   // 917 keypad, firmware 4.1 to 5.0
    {0x16C0, 0x0607, 2},   // 917 keypad, firmware 5.1 to 6.0
    {0x1125, 0x1804, 3},   // bootloader of the 917 keypad with firmware 6
    {0x1125, 0x1806, 4},   // TDxx/WKxxx bootloader
    {0x1125, 0x1807, 5},   // TD-A keypad
    {0x1125, 0x1808, 6},   // TD-B keypad
    {0x1125, 0x1809, 7},   // Tasterdeck TDSxx bootloader
    {0x1125, 0x180B, 8},   // WK-C keyboard
    {0x1125, 0x180C, 9},   // TDxx/WKxxx device in PRG/TMode
    {0x1125, 0x180D, 10},  // TD-A in KBMouse personality
    {0x1125, 0x180E, 11},  // TD-B in KBMouse personality
    {0x1125, 0x180F, 12},  // WK-C in KBMouse personality
    {0x1125, 0x1813, 14},  // Slimkey 947
}};

// The kind of an interface with these identifiers, 0 when the pair is not in the table.
DeviceKind ClassifyIdentifiers(std::uint16_t vendorId, std::uint16_t productId);

}  // namespace tdxx
