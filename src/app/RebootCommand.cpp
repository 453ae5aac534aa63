// Reboot: restarts the connected keypad or bootloader.
#include "app/CommandScope.h"
#include "app/DeviceCommandOutcome.h"
#include "app/MainWindowCommands.h"
#include "protocol/Detection.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {
namespace {

constexpr const char* kTitle = "Reboot Note";

// Re-detects with the handle kept and sends the reboot byte; true when failed, also when the
// device is no longer a keypad that takes it.
bool RebootByFeatureReport(ProtocolContext& ctx) {
  WaitCursorGuard cursor(ctx.port);
  DetectKeypad(ctx, true);
  ctx.port.RepaintNow();
  const bool failed = TakesFeatureCommands(ctx.deviceKind) ? SendReboot(ctx) : true;
  ctx.transport.CloseKeypad();
  ctx.port.RepaintNow();
  return failed;
}

bool RebootThroughStream(ProtocolContext& ctx, bool (*command)(ProtocolContext&)) {
  WaitCursorGuard cursor(ctx.port);
  return command(ctx);
}

}  // namespace

void MainWindowCommands::btnRebootClick() {
  CommandScope scope(port_, commandDepth_);
  MainWindowState& state = app_.state;
  const DeviceKind kind = state.deviceKind;
  ProtocolContext ctx = app_.Protocol(port_);
  if (kind == -1) {
    ShowWarning(port_, "Reboot aborted! Please connect only one device.", "Reboot Conflict");
  } else if (kind == 14) {
    ShowWarning(port_, "Reboot aborted! Slimkey 947 keys are not programmable.",
                "Reboot Unavailable");
  } else if (TakesFeatureCommands(kind)) {
    const bool failed = RebootByFeatureReport(ctx);
    ShowOutcomeAndForgetDevice(
        port_, state, failed,
        "Success! Reboot command sent.\r\nYour keypad should reboot momentarily.\r\nClick "
        "\"Connect\" to find it.",
        "Failure! Reboot command not sent. Replug the keypad instead.", kTitle);
  } else if (kind == 1) {
    ShowWarning(port_,
                "Failure! 91x v4.1 through v5.0 do not support the Reboot command. Replug the "
                "keypad instead.",
                "Reboot Not Supported");
  } else if (kind == 2) {
    ShowWarning(port_,
                "Failure! 91x v5.1 through v6.0 do not support the Reboot command. Replug the "
                "keypad instead.",
                "Reboot Not Supported");
  } else if (kind == kPrgTModeKind) {
    const bool failed = RebootThroughStream(ctx, RebootTMode);
    ShowOutcomeAndForgetDevice(
        port_, state, failed,
        "Success! Reboot command sent via PRG/TMode.\r\nYour keypad should reboot "
        "momentarily.\r\nClick \"Connect\" to find it.",
        "Failure! Reboot command not sent via PRG/TMode.\r\nReplug the keypad instead.", kTitle);
  } else if (IsBootloaderKind(kind)) {
    // The TDSxx bootloader (7) takes the same restart command as the others.
    const bool failed = RebootThroughStream(ctx, RebootBootloader);
    ShowOutcomeAndForgetDevice(
        port_, state, failed,
        "Success! Reboot command sent to bootloader.\r\nYour keypad should reboot "
        "momentarily.\r\nClick \"Connect\" to find it.",
        "Failure! Reboot command not sent to bootloader. Replug the keypad.", kTitle);
  } else if (kind == 0) {
    ShowWarning(port_, kNoDeviceText, kTitle);
  }
}

}  // namespace tdxx
