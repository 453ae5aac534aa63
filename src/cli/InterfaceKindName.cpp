#include "cli/InterfaceKindName.h"

namespace tdxx::cli {

std::string InterfaceKindName(DeviceKind kind) {
  switch (kind) {
    case -1:
      return "several devices, or no HID library";
    case 0:
      return "no device";
    case 1:
      return "917 keypad (firmware 4.1 to 5.0)";
    case 2:
      return "917 keypad (firmware 5.1 to 6.0)";
    case 3:
      return "917 bootloader";
    case 4:
      return "TDxx/WKxxx bootloader";
    case 5:
      return "TD-A keypad";
    case 6:
      return "TD-B keypad";
    case 7:
      return "TDSxx bootloader";
    case 8:
      return "WK-C keyboard";
    case 9:
      return "TDxx/WKxxx device in PRG/TMode";
    case 10:
      return "TD-A keypad (KBMouse)";
    case 11:
      return "TD-B keypad (KBMouse)";
    case 12:
      return "WK-C keyboard (KBMouse)";
    case 13:
      return "947 bootloader";
    case 14:
      return "Slimkey 947";
    default:
      return "device of kind " + std::to_string(kind);
  }
}

std::string KindModelName(DeviceKind kind) {
  switch (kind) {
    case 5:
    case 10:
      return "TD-A";
    case 6:
    case 11:
      return "TD-B";
    case 8:
    case 12:
      return "WK-C";
    case 9:
      return "keypad in PRG/TMode";
    default:
      return InterfaceKindName(kind);
  }
}

std::string InterfaceProblemName(AttachedInterface::Problem problem) {
  switch (problem) {
    case AttachedInterface::Problem::None:
      return "";
    case AttachedInterface::Problem::InUse:
      return "in use";
    case AttachedInterface::Problem::NoPermission:
      return "permission";
    case AttachedInterface::Problem::Failed:
      return "failed";
  }
  return "";
}

}  // namespace tdxx::cli
