#pragma once

#include "hid/DeviceKind.h"

namespace tdxx {

// TD-A, TD-B and WK-C in normal operation, also in their KBMouse personality: they take
// commands as single-byte feature reports.
inline bool TakesFeatureCommands(DeviceKind kind) {
  return kind == 5 || kind == 6 || kind == 8 || kind == 10 || kind == 11 || kind == 12;
}

// The bootloaders: 917, TDxx/WKxxx, TDSxx, and the 947's.
inline bool IsBootloaderKind(DeviceKind kind) {
  return kind == 3 || kind == 4 || kind == 7 || kind == 13;
}

inline constexpr DeviceKind kPrgTModeKind = 9;
inline constexpr DeviceKind kTdxxBootloaderKind = 4;

}  // namespace tdxx
