#include "cli/InterfaceKindName.h"

#include "hid/DeviceKindTable.h"

namespace tdxx::cli {

std::string InterfaceKindName(DeviceKind kind) {
  const DeviceKindFacts& device = FactsOf(kind);
  // Only the devices discovery can report have a name here.
  if (device.kind != kind || device.vendorId == 0)
    return "device of kind " + std::to_string(kind);
  return std::string(device.name);
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
