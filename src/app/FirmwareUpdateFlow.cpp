#include "app/FirmwareUpdateFlow.h"

#include <string>

#include "app/DeviceCommandOutcome.h"
#include "protocol/BootloaderLaunch.h"
#include "protocol/Detection.h"
#include "protocol/DeviceKindGroups.h"
#include "protocol/FirmwareUpgrade.h"

namespace tdxx {
namespace {

constexpr const char* kTitle = "Flash Update Note";
// Asks for the switch to the bootloader and makes it; the image goes in the next Download.
void OfferBootloader(ProtocolContext& ctx) {
  const MessageResult answer = ctx.port.ShowMessage(
      "Your device needs to be in Bootloader mode.\r\nWould you like to activate it?", kTitle,
      MessageIcon::Question, MessageButtons::YesNo);
  if (answer != MessageResult::Yes)
    return;
  ctx.port.LogProgress("\r\nPlease wait...");
  if (FactsOf(ctx.deviceKind).launch == LaunchAction::PrgTModeStream)
    LaunchBootloaderStream(ctx);
  else
    LaunchBootloaderFeature(ctx);

  constexpr const char* kClickAgain = "Success! Click \"Download\" again to upgrade your device.";
  if (ctx.deviceKind == k917BootloaderKind || ctx.deviceKind == kTdxxBootloaderKind) {
    ShowWarning(ctx.port, kClickAgain, kTitle);
  } else if (ctx.deviceKind == kTdsBootloaderKind) {
    ctx.port.LogProgress("\r\nDownload NOTE. Writing firmware over TDSxx bootloader.");
    ShowWarning(ctx.port, kClickAgain, kTitle);
  } else {
    ShowWarning(ctx.port,
                "Failed! Unable to launch TDxx Bootloader over USB.\r\nSee the user manual for "
                "alternatives or click \"Connect\" again to retry. \r\nPlease note that 91x v5 "
                "and older keypads do not support firmware upgrade.",
                kTitle);
  }
}

void Upgrade(Application& app, ProtocolContext& ctx) {
  MainWindowPort& port = ctx.port;
  port.LogProgress("\r\nDownloading Firmware.");
  const int blocks = FirmwareBlockCount(app.firmware);
  port.SetProgressMaximum(blocks);
  port.SetProgressPosition(0);
  port.RepaintNow();
  int code = kUpgradeDone;
  {
    WaitCursorGuard cursor(port);
    code = UpgradeFirmware(ctx, app.firmware, blocks);
  }
  if (code == kUpgradeDone) {
    app.state.taskDone = true;
    port.LogProgress("\r\nSUCCESS! Download Complete.\r\n");
  } else {
    port.LogProgress("\r\nDownload FAILED.\r\n");
    port.LogProgress(UpgradeFailureReason(code));
  }
}

}  // namespace

int RunFirmwareUpdate(Application& app, MainWindowPort& port) {
  ProtocolContext ctx = app.Protocol(port);
  // After the switch to the bootloader, udev may not yet have granted access to its node.
  PermissionGrace grace(ctx.transport, IsBootloaderKind(app.state.deviceKind)
                                           ? PermissionGrace::kComeBack
                                           : PermissionGrace::kNone);
  DetectKeypad(ctx, false);
  port.RepaintNow();
  const DeviceKindFacts& device = FactsOf(ctx.deviceKind);
  if (device.firmware == FirmwareStep::Unsupported) {
    ShowWarning(port, "Your device does not support firmware update.", kTitle);
    return 1;
  }
  if (device.firmware == FirmwareStep::SwitchToBootloader) {
    OfferBootloader(ctx);
    return 0;
  }
  if (device.firmware == FirmwareStep::Write) {
    // Each bootloader takes one image length; any other (the 947's long image on the others,
    // the short one on the 947's) is refused before anything is sent.
    if (app.firmware.imageLength != device.firmwareImageLength) {
      ShowWarning(port, "Download aborted! Filesize incorrect.",
                  device.kind == k947BootloaderKind ? "947 UPG Download" : "UPG Download");
      return 1;
    }
    Upgrade(app, ctx);
  }
  port.SetProgressPosition(0);
  return 0;
}

}  // namespace tdxx
