#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "hid/DeviceKind.h"
#include "hid/HidApi.h"

namespace tdxx {

// One interface of a keypad kind in hidapi's list of attached interfaces.
struct KeypadInterface {
  std::string path;
  DeviceKind kind = 0;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

// Walks hidapi's list of attached interfaces, in its order, and hands each interface whose
// identifiers name a keypad kind to `visit`; when `deviceFilter` is not empty, only the
// interface with that path. hidapi lists an interface once per top-level collection of its
// report descriptor, each time with the same path: each path is handed over once. `visit`
// returns false to end the walk. The list is freed before this returns.
void WalkKeypadInterfaces(HidApi& api, const std::string& deviceFilter,
                          const std::function<bool(const KeypadInterface&)>& visit);

}  // namespace tdxx
