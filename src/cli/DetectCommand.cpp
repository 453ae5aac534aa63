#include "cli/DetectCommand.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "files/NarrowText.h"
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

  if (json) {
    nlohmann::json result;
    result["deviceKind"] = kind;
    result["keypadPanel"] = NarrowToDisplayUtf8(panel);
    result["deviceInfo"] = DeviceInfoJson(app.deviceInfo);
    out << result.dump() << "\n";
  } else {
    out << ForTerminal(panel) << "\n";
  }

  if (kind == -1)
    return kDetectConflict;
  if (kind != 0)
    return kDetectFound;
  // Kind 0 with the keypad's drive present still counts as found (flash-drive mode).
  return app.driveLocator.driveLetter().empty() ? kDetectNothing : kDetectFound;
}

}  // namespace tdxx::cli
