#pragma once

#include <cstdint>

#include "hid/DeviceKind.h"

namespace tdxx {

// The kind of an interface with these identifiers, from the device-kind table (both must
// match); 0 when the pair is not one of ours.
DeviceKind ClassifyIdentifiers(std::uint16_t vendorId, std::uint16_t productId);

}  // namespace tdxx
