#pragma once

#include "protocol/ProtocolContext.h"

namespace tdxx {

// Keypad commands as single-byte feature reports through the handle the preceding
// DetectKeypad with keepOpen kept (neither opened nor closed here), with 100 ms after each
// byte. True when a byte failed; every byte is sent even when one before it failed.
bool SendEraseSettings(ProtocolContext& ctx);     // 0xE4, 0x09
bool SendLaunchBootloader(ProtocolContext& ctx);  // 0xE4, 0x08
bool SendReboot(ProtocolContext& ctx);            // 0xE5

// One command over the report stream of the last detected device: open, queue, 100 ms, close.
// The device never answers them, so they fail (true) only when the stream cannot be opened
// (also when the node is no longer the device detected) or the command's report could not be
// written.
bool RequestBootloaderTMode(ProtocolContext& ctx);  // 'T': 0x40 0x0B 0x52 0x62
bool EraseSettingsTMode(ProtocolContext& ctx);      // 'T': 0xE2 0xE4 0x09
bool RebootBootloader(ProtocolContext& ctx);        // 'U': 0x40 0x04
bool RebootTMode(ProtocolContext& ctx);             // 'T': 0x40 0x04

}  // namespace tdxx
