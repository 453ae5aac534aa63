#include "app/DeviceCommandSend.h"

#include "protocol/Detection.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {

bool SendByFeatureReports(ProtocolContext& ctx, DeviceCommandSender send) {
  WaitCursorGuard cursor(ctx.port);
  DetectKeypad(ctx, true);
  ctx.port.RepaintNow();
  const bool failed = TakesFeatureCommands(ctx.deviceKind) ? send(ctx) : true;
  ctx.transport.CloseKeypad();
  ctx.port.RepaintNow();
  return failed;
}

bool SendUnderWaitCursor(ProtocolContext& ctx, DeviceCommandSender send) {
  WaitCursorGuard cursor(ctx.port);
  return send(ctx);
}

}  // namespace tdxx
