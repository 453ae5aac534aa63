#include "protocol/BootloaderLaunch.h"

#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {
namespace {

constexpr Milliseconds kComeBackTime{6000};
constexpr Milliseconds kLookAgainEvery{500};
constexpr Milliseconds kLookAgainFor{10000};

constexpr const char* kRequesting = "\r\nRequesting bootloader mode.";
constexpr const char* kPleaseWait = "\r\nPlease wait.";
constexpr const char* kCanceled = "\r\nCanceled.\r\n";

// Logs what the wait found and returns the launch result.
int LaunchOutcome(ProtocolContext& ctx) {
  if (ctx.deviceKind == kTdxxBootloaderKind) {
    ctx.port.LogProgress("\r\nBootloader: Activated.");
    return 0;
  }
  ctx.port.LogProgress(
      "\r\nLaunch Bootloader FAIL: Did not respond in time. Try \"Connect\" button");
  return 2;
}

void Refuse(ProtocolContext& ctx, const char* text) {
  ctx.port.ShowMessage(text, "Download Note", MessageIcon::Warning, MessageButtons::Ok);
  ctx.port.LogProgress(kCanceled);
}

}  // namespace

void AwaitBootloader(ProtocolContext& ctx) {
  // The bootloader's node is root's alone until udev has applied the rule: its opens are
  // tried again for a moment before it counts as not openable.
  PermissionGrace grace(ctx.transport, PermissionGrace::kComeBack);
  ctx.port.Pause(kComeBackTime);
  DetectKeypad(ctx, false);
  if (IsBootloaderKind(ctx.deviceKind))
    return;
  // A device that takes longer than 6 s: discovery alone, so the panel keeps the detection's
  // text until the bootloader is there.
  for (Milliseconds waited{0}; waited < kLookAgainFor; waited += kLookAgainEvery) {
    ctx.port.Pause(kLookAgainEvery);
    if (IsBootloaderKind(ctx.transport.FindKeypad(false))) {
      DetectKeypad(ctx, false);
      return;
    }
  }
}

namespace {

// Sends the keypad's request under the wait cursor, lets the keypad go, waits for its
// bootloader and returns the launch result. The request's own result is not looked at: the
// keypad leaves the bus while it takes it, and only the detection afterwards tells.
int RequestAndAwait(ProtocolContext& ctx, bool (*request)(ProtocolContext&)) {
  {
    WaitCursorGuard cursor(ctx.port);
    ctx.port.LogProgress(kPleaseWait);
    request(ctx);
    ctx.transport.CloseKeypad();
    AwaitBootloader(ctx);
  }
  return LaunchOutcome(ctx);
}

}  // namespace

int LaunchBootloaderFeature(ProtocolContext& ctx) {
  ctx.port.LogProgress(kRequesting);
  DetectKeypad(ctx, true);
  ctx.port.RepaintNow();
  if (ctx.deviceKind == kNoDevice) {
    // Nothing is held; this unbinds the library the detection bound.
    ctx.transport.CloseKeypad();
    Refuse(ctx, "Connection failed! Keypad not attached or not in normal operating mode.");
    return 1;
  }
  if (!TakesFeatureCommands(ctx.deviceKind)) {
    ctx.port.LogProgress("\r\nLaunch Bootloader HALTED: TDxx keypad not found!");
    ctx.transport.CloseKeypad();
    return 1;
  }
  // The keypad leaves USB on the second byte; whether the reports went through says nothing,
  // the detection afterwards does.
  return RequestAndAwait(ctx, SendLaunchBootloader);
}

int LaunchBootloaderStream(ProtocolContext& ctx) {
  ctx.port.LogProgress(kRequesting);
  DetectKeypad(ctx, false);
  ctx.port.RepaintNow();
  if (ctx.deviceKind != kPrgTModeKind) {
    Refuse(ctx, "Connection failed! Keypad not found or in wrong mode.");
    return 1;
  }
  return RequestAndAwait(ctx, RequestBootloaderTMode);
}

}  // namespace tdxx
