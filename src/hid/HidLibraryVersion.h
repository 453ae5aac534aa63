#pragma once

#include <string>

#include "hid/HidApi.h"

namespace tdxx {

// The bound library's version as it names it ("0.13.1"); empty when it does not say (a library
// older than 0.10 has no hid_version_str).
std::string HidLibraryVersion(HidApi& api);

// What is known to go wrong with that version, for doctor; empty when nothing is.
// hidapi 0.13 frees the device in hid_open_path and then reads its descriptor when the device
// vanishes between the two: an unplug during an open can crash the program (mended in 0.14).
std::string HidLibraryVersionWarning(const std::string& version);

}  // namespace tdxx
