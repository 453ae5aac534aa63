#pragma once

#include "hid/DeviceKindTable.h"

namespace tdxx {

// TD-A, TD-B and WK-C in normal operation, also in their KBMouse personality: they take
// commands as single-byte feature reports.
constexpr bool TakesFeatureCommands(DeviceKind kind) {
  return FactsOf(kind).group == DeviceGroup::Keypad;
}

// The bootloaders: 917, TDxx/WKxxx, TDSxx, and the 947's.
constexpr bool IsBootloaderKind(DeviceKind kind) {
  return FactsOf(kind).group == DeviceGroup::Bootloader;
}

}  // namespace tdxx
