#pragma once

#include "protocol/ProtocolContext.h"

namespace tdxx {

// Finds the one connected device, sets ctx.deviceKind, writes the keypad panel and, for
// bootloaders and PRG/TMode devices (without keepOpen), adds the model and the versions.
// With keepOpen the first matching device stays open for feature reports; the caller closes
// it with CloseKeypad.
void DetectKeypad(ProtocolContext& ctx, bool keepOpen);

}  // namespace tdxx
