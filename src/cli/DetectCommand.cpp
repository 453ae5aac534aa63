#include "cli/DetectCommand.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/InterfaceKindName.h"
#include "files/NarrowText.h"
#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"

namespace tdxx::cli {

namespace {

nlohmann::json DeviceInfoJson(const DeviceInfo& info) {
  nlohmann::json fields;
  fields["bootloaderVersion"] = NarrowToDisplayUtf8(FieldText(info.bootloaderVersion));
  fields["keypadVersion"] = NarrowToDisplayUtf8(FieldText(info.keypadVersion));
  fields["flashDriveVersion"] = NarrowToDisplayUtf8(FieldText(info.flashDriveVersion));
  fields["deviceVersion"] = NarrowToDisplayUtf8(FieldText(info.deviceVersion));
  fields["buildDate"] = NarrowToDisplayUtf8(FieldText(info.buildDate));
  fields["bootloaderInstalled"] = NarrowToDisplayUtf8(FieldText(info.bootloaderInstalled));
  fields["statusByte"] = info.statusByte;
  fields["keyCapacity"] = info.keyCapacity;
  fields["pingLevel"] = info.pingLevel;
  return fields;
}

}  // namespace

int RunDetect(Application& app, ConsolePort& port, bool json, std::ostream& out) {
  ProtocolContext ctx = app.Protocol(port);
  DetectKeypad(ctx, false);
  const DeviceKind kind = app.state.deviceKind;
  const std::string panel = port.KeypadText();
  // Kind 0 with the keypad's drive present still counts as found (flash-drive mode).
  const int exitCode = kind == kSeveralDevices                  ? kDetectConflict
                       : kind != kNoDevice                      ? kDetectFound
                       : app.driveLocator.driveLetter().empty() ? kDetectNothing
                                                                : kDetectFound;

  if (json) {
    nlohmann::json result;
    result["deviceKind"] = kind;
    result["kindName"] = InterfaceKindName(kind);
    result["keypadPanel"] = NarrowToDisplayUtf8(panel);
    result["deviceInfo"] = DeviceInfoJson(app.deviceInfo);
    result["exitCode"] = exitCode;
    out << result.dump() << "\n";
  } else {
    out << ForTerminal(panel) << "\n";
  }
  return exitCode;
}

int RunDetectAll(HidTransport& transport, bool json, std::ostream& out) {
  std::vector<AttachedInterface> interfaces;
  const bool failed = transport.SurveyInterfaces(interfaces);
  const int exitCode = failed               ? kDetectConflict
                       : interfaces.empty() ? kDetectNothing
                                            : kDetectFound;
  if (json) {
    nlohmann::json devices = nlohmann::json::array();
    for (const AttachedInterface& interface : interfaces) {
      devices.push_back({{"kind", interface.kind},
                         {"kindName", InterfaceKindName(interface.kind)},
                         {"path", interface.path},
                         {"vendorId", interface.vendorId},
                         {"productId", interface.productId},
                         {"openable", interface.openable},
                         {"problem", InterfaceProblemName(interface.problem)},
                         {"error", interface.error}});
    }
    nlohmann::json result{{"devices", devices}, {"exitCode", exitCode}};
    if (failed)
      result["error"] = transport.bindError();
    out << result.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return exitCode;
  }
  if (failed) {
    out << "The HID library cannot be used: " << transport.bindError() << "\n";
    return exitCode;
  }
  if (interfaces.empty())
    out << "No keypad or bootloader is attached.\n";
  for (const AttachedInterface& interface : interfaces) {
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", interface.vendorId, interface.productId);
    out << interface.path << "  " << ids << "  kind " << interface.kind << " ("
        << InterfaceKindName(interface.kind) << ")  ";
    switch (interface.problem) {
      case AttachedInterface::Problem::None:
        out << "can be opened";
        break;
      case AttachedInterface::Problem::InUse:
        out << "in use by another program";
        break;
      case AttachedInterface::Problem::NoPermission:
        out << "no permission (run tdxxload-cli doctor)";
        break;
      case AttachedInterface::Problem::Failed:
        out << "cannot be opened: " << interface.error;
        break;
    }
    out << "\n";
  }
  return exitCode;
}

}  // namespace tdxx::cli
