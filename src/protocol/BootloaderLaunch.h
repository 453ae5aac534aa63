#pragma once

#include "protocol/ProtocolContext.h"

namespace tdxx {

// Switches a keypad in normal operation (TD-A, TD-B, WK-C, also KBMouse) to its bootloader with
// feature reports, waits for it to come back and detects it. Returns 0 when a TDxx/WKxxx
// bootloader (kind 4) was found, 1 when cancelled (no device) or refused (another kind), 2 when
// the wait found anything else; ctx.deviceKind holds what the last detection found.
int LaunchBootloaderFeature(ProtocolContext& ctx);

// The same for a device in PRG/TMode, through the report stream.
int LaunchBootloaderStream(ProtocolContext& ctx);

// After a switch: 6 s for the device to leave and come back, then a detection. When that finds
// no bootloader, discovery looks again every 500 ms, without touching the panel, for up to 10 s
// more, and detects the bootloader as soon as it is there. Opens refused for lack of permission
// are tried again for up to 1 s (PermissionGrace::kComeBack).
void AwaitBootloader(ProtocolContext& ctx);

}  // namespace tdxx
