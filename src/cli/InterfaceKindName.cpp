#include "cli/InterfaceKindName.h"

#include "hid/DeviceKindTable.h"

namespace tdxx::cli {

std::string InterfaceKindName(DeviceKind kind) {
  const DeviceKindFacts& device = FactsOf(kind);
  if (device.kind != kind)
    return "device of kind " + std::to_string(kind);
  // -1 also stands for a HID library that could not be bound.
  if (kind == kSeveralDevices)
    return "several devices, or no HID library";
  return std::string(device.name);
}

std::string KindModelName(DeviceKind kind) {
  const DeviceKindFacts& device = FactsOf(kind);
  if (device.kind == kind && !device.model.empty())
    return std::string(device.model);
  return InterfaceKindName(kind);
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
