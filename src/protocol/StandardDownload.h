#pragma once

#include "files/KeyTable.h"
#include "protocol/ProtocolContext.h"

namespace tdxx {

// Sends the global block and the first `count` key records of `keyTable`, then the end byte
// 0xE5, one byte per feature report through the handle the preceding DetectKeypad kept open
// (neither opened nor closed here). Writes the parameter count for `deviceKind` into the block
// first. Steps the progress bar after the block and after every key. Returns true when failed:
// a device kind that takes no key definitions, or a report the device refused.
bool DownloadKeysStandard(ProtocolContext& ctx, const KeyTable& keyTable,
                          GlobalParameterBlock& globalBlock, DeviceKind deviceKind, int count);

}  // namespace tdxx
