#pragma once

#include "files/KeyTable.h"
#include "protocol/ProtocolContext.h"

namespace tdxx {

// Pings a device in PRG/TMode over the open report stream and keeps the last byte of its
// answer in deviceInfo.pingLevel (0 without answer). Returns true when no answer came.
bool PingKeypad(ProtocolContext& ctx);

// Sends the global block, the first `count` key records (fewer when the device says it holds
// fewer) and the end byte to a device in PRG/TMode, each group opened by 0xE2 and every key
// preceded by a ping. Opens the report stream in 'T' and closes it on every way out. Steps the
// progress bar after the block and after every key, and sets it to its maximum at the end.
// Returns true when failed; the log says where.
bool DownloadKeysTMode(ProtocolContext& ctx, const KeyTable& keyTable,
                       GlobalParameterBlock& globalBlock, int count);

}  // namespace tdxx
