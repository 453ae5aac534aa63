#pragma once

#include "protocol/ProtocolContext.h"

namespace tdxx {

// A sender of one device command (the erase bytes, the reboot byte, ...); true when failed.
using DeviceCommandSender = bool (*)(ProtocolContext& ctx);

// Under the wait cursor: re-detects with the handle kept, sends the command by feature reports
// and lets the keypad go. True when failed, also when the device is no longer a keypad that
// takes feature commands.
bool SendByFeatureReports(ProtocolContext& ctx, DeviceCommandSender send);

// Sends the command over the stream connection under the wait cursor; true when failed.
bool SendUnderWaitCursor(ProtocolContext& ctx, DeviceCommandSender send);

}  // namespace tdxx
