// Reboot: restarts the connected keypad or bootloader.
#include "app/CommandScope.h"
#include "app/DeviceCommandOutcome.h"
#include "app/DeviceCommandSend.h"
#include "app/MainWindowCommands.h"
#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {
namespace {

constexpr const char* kTitle = "Reboot Note";

}  // namespace

void MainWindowCommands::btnRebootClick() {
  CommandScope scope(port_, commandDepth_);
  MainWindowState& state = app_.state;
  const DeviceKind kind = state.deviceKind;
  const RebootAction action = FactsOf(kind).reboot;
  ProtocolContext ctx = app_.Protocol(port_);
  if (kind == kSeveralDevices) {
    ShowConflict(port_, app_.transport, "Reboot aborted! Please connect only one device.",
                 "Reboot Conflict");
  } else if (action == RebootAction::NotProgrammable) {
    ShowWarning(port_, "Reboot aborted! Slimkey 947 keys are not programmable.",
                "Reboot Unavailable");
  } else if (action == RebootAction::FeatureReports) {
    const bool failed = SendByFeatureReports(ctx, SendReboot);
    ShowOutcomeAndForgetDevice(
        port_, state, failed,
        "Success! Reboot command sent.\r\nYour keypad should reboot momentarily.\r\nClick "
        "\"Connect\" to find it.",
        "Failure! Reboot command not sent. Replug the keypad instead.", kTitle);
  } else if (action == RebootAction::UnsupportedFirmware41To50) {
    ShowWarning(port_,
                "Failure! 91x v4.1 through v5.0 do not support the Reboot command. Replug the "
                "keypad instead.",
                "Reboot Not Supported");
  } else if (action == RebootAction::UnsupportedFirmware51To60) {
    ShowWarning(port_,
                "Failure! 91x v5.1 through v6.0 do not support the Reboot command. Replug the "
                "keypad instead.",
                "Reboot Not Supported");
  } else if (action == RebootAction::PrgTModeStream) {
    const bool failed = SendUnderWaitCursor(ctx, RebootTMode);
    ShowOutcomeAndForgetDevice(
        port_, state, failed,
        "Success! Reboot command sent via PRG/TMode.\r\nYour keypad should reboot "
        "momentarily.\r\nClick \"Connect\" to find it.",
        "Failure! Reboot command not sent via PRG/TMode.\r\nReplug the keypad instead.", kTitle);
  } else if (action == RebootAction::BootloaderStream) {
    // Every bootloader takes the restart command, the TDSxx's (7) too.
    const bool failed = SendUnderWaitCursor(ctx, RebootBootloader);
    ShowOutcomeAndForgetDevice(
        port_, state, failed,
        "Success! Reboot command sent to bootloader.\r\nYour keypad should reboot "
        "momentarily.\r\nClick \"Connect\" to find it.",
        "Failure! Reboot command not sent to bootloader. Replug the keypad.", kTitle);
  } else if (kind == kNoDevice) {
    ShowWarning(port_, kNoDeviceText, kTitle);
  }
}

}  // namespace tdxx
