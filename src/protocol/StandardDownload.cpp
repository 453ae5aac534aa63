#include "protocol/StandardDownload.h"

#include <cstddef>
#include <cstdint>

#include "hid/DeviceKindTable.h"
#include "protocol/KeyRecordBytes.h"

namespace tdxx {
namespace {

constexpr std::uint8_t kEndByte = 0xE5;
constexpr Milliseconds kAfterBlock{100};
// After each key: the long pause after keys 0, 2, 4, ..., the short one after the others.
constexpr Milliseconds kAfterEvenKey{100};
constexpr Milliseconds kAfterOddKey{10};

void Log(ProtocolContext& ctx, std::string_view text) {
  ctx.port.LogProgress(text);
  ctx.port.RepaintNow();
}

void StepAndPause(ProtocolContext& ctx, Milliseconds pause) {
  ctx.port.StepProgress();
  ctx.port.RepaintNow();
  ctx.port.Pause(pause);
  ctx.port.ProcessPendingMessages();
}

}  // namespace

bool DownloadKeysStandard(ProtocolContext& ctx, const KeyTable& keyTable,
                          GlobalParameterBlock& globalBlock, DeviceKind deviceKind, int count) {
  Log(ctx, "\r\n...Download start");
  // What the kind takes of the global block; a kind that takes none gets nothing.
  const GlobalBlockRow row = FactsOf(deviceKind).globalBlock;
  if (row.bytesSent == 0)
    return true;
  globalBlock.bytes[GlobalParameterBlock::kParameterCount] = row.parameterCount;

  Log(ctx, "\r\n...Downloading globals.");
  for (std::size_t i = 0; i < row.bytesSent; ++i) {
    if (ctx.transport.SendFeatureByte(globalBlock.bytes[i]))
      return true;
  }
  StepAndPause(ctx, kAfterBlock);

  Log(ctx, "\r\n...Downloading keys.");
  for (int j = 0; j < count && j < static_cast<int>(keyTable.size()); ++j) {
    for (const KeyWireByte& byte : KeyRecordWireBytes(keyTable[static_cast<std::size_t>(j)])) {
      if (ctx.transport.SendFeatureByte(byte.value))
        return true;
    }
    StepAndPause(ctx, j % 2 == 0 ? kAfterEvenKey : kAfterOddKey);
  }

  // The keypad reboots on the end byte; whether the report went through is not looked at.
  ctx.transport.SendFeatureByte(kEndByte);
  return false;
}

}  // namespace tdxx
