#pragma once

#include <cstddef>

#include "hid/HidTransport.h"

namespace tdxx {

// Output reports as written (report ID 0 first): 65 bytes in 'U', 9 in 'T'.
constexpr std::size_t OutputReportLength(ReportMode mode) {
  return mode == ReportMode::U ? 65 : 9;
}

// Payload bytes one report carries at most: 63 in 'U', 7 in 'T'.
constexpr std::size_t PayloadCapacity(ReportMode mode) {
  return mode == ReportMode::U ? 63 : 7;
}

// Input reports as hidapi returns them on Linux: without the report ID, so the count comes
// first: 64 bytes in 'U', 8 in 'T'.
constexpr std::size_t InputReportLength(ReportMode mode) {
  return PayloadCapacity(mode) + 1;
}

// The largest report buffer either direction needs.
constexpr std::size_t kMaxReportLength = 65;

}  // namespace tdxx
