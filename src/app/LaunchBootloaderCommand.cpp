// Launch Bootloader...: switches the connected keypad to its bootloader.
#include "app/CommandScope.h"
#include "app/DeviceCommandOutcome.h"
#include "app/MainWindowCommands.h"
#include "hid/DeviceKindTable.h"
#include "protocol/BootloaderLaunch.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {

void MainWindowCommands::mnuLaunchBootloaderClick() {
  CommandScope scope(port_, commandDepth_);
  const DeviceKind kind = app_.state.deviceKind;
  const LaunchAction action = FactsOf(kind).launch;
  ProtocolContext ctx = app_.Protocol(port_);
  if (kind == kSeveralDevices) {
    ShowConflict(port_, app_.transport, "Action aborted! Please connect only one device.",
                 "Action Conflict");
  } else if (action == LaunchAction::ManualOnly) {
    ShowWarning(port_, "Slimkey 947 bootloader must be activated manually.", "Action Unavailable");
  } else if (kind == kNoDevice) {
    ShowWarning(port_, kNoDeviceText, "Launch Bootloader Note");
  } else if (action == LaunchAction::AlreadyActive) {
    ShowWarning(port_, "Bootloader already active!", "Note");
  } else if (action == LaunchAction::Unsupported) {
    ShowWarning(port_, "Your device does not support this command.", "Note");
  } else if (action == LaunchAction::FeatureReports) {
    LaunchBootloaderFeature(ctx);
  } else if (action == LaunchAction::PrgTModeStream) {
    LaunchBootloaderStream(ctx);
  }
}

}  // namespace tdxx
