#include "hid/HidLibraryVersion.h"

namespace tdxx {

std::string HidLibraryVersion(HidApi& api) {
  const char* version = api.version_str();
  return version != nullptr ? version : "";
}

std::string HidLibraryVersionWarning(const std::string& version) {
  if (version.rfind("0.13.", 0) != 0)
    return "";
  return "hidapi " + version +
         " can crash the program when a keypad is unplugged while it is being opened; hidapi "
         "0.14 mends it (install a newer libhidapi-hidraw0 when your distribution has one).";
}

}  // namespace tdxx
