#pragma once

#include <cstdint>

namespace tdxx {

// Device kinds as the identifier table gives them (13 is assigned by detection, never by
// discovery): 0 none, -1 several kinds or no HID library, 1 to 14 the devices.
using DeviceKind = std::int32_t;

}  // namespace tdxx
