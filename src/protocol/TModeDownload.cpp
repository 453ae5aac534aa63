#include "protocol/TModeDownload.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/FlowProgress.h"
#include "protocol/KeyRecordBytes.h"

namespace tdxx {
namespace {

// Commands, zero-terminated for SendText.
constexpr char kPing[] = {0x40, 0x08, 0};
constexpr char kAskKeyCapacity[] = {0x40, 0x1D, 0};
constexpr char kGroupPrefix[] = {static_cast<char>(0xE2), 0};
constexpr std::uint8_t kEndByte = 0xE5;

constexpr Milliseconds kReplyWait{100};
constexpr int kPingPolls = 100;
constexpr Milliseconds kPingPollPause{10};
constexpr Milliseconds kAfterBlockByte{10};
constexpr Milliseconds kAfterGroup{10};
constexpr Milliseconds kAtEnd{100};
// A device that sends this status byte or a higher one answers the key-capacity query.
constexpr std::uint8_t kFirstPingLevelWithKeyCapacity = 18;
constexpr std::size_t kBlockLength = 15;
constexpr std::uint8_t kParameterCount = 12;
// Downloads of exactly this many keys give the keypad a further pause after every key byte.
constexpr int kSlowKeyCount = 24;

// What the log says when a key byte cannot be sent, by the part of the record it belongs to.
std::string_view KeyFailureText(KeyBytePart part) {
  switch (part) {
    case KeyBytePart::Attributes:
      return "\r\n...FAILED downloading key atributes.";
    case KeyBytePart::Level1Length:
      return "\r\n...FAILED downloading key level 1 length.";
    case KeyBytePart::Level1Codes:
      return "\r\n...FAILED downloading key level 1 data.";
    case KeyBytePart::Level1Empty:
      return "\r\n...FAILED downloading key level 1.";
    case KeyBytePart::Level2Length:
      return "\r\n...FAILED downloading key level 2 length.";
    case KeyBytePart::Level2Codes:
      return "\r\n...FAILED downloading key level 2 data.";
    case KeyBytePart::Level2Empty:
      return "\r\n...FAILED downloading key level 2.";
  }
  return "";
}

// Logs the failure, closes the stream and reports the download failed.
bool Fail(ProtocolContext& ctx, std::string_view text) {
  FlowProgress(ctx.port).Line(text);
  ctx.transport.CloseStream();
  return true;
}

bool SendByte(ProtocolContext& ctx, std::uint8_t byte) {
  return ctx.transport.SendBytes(&byte, 1);
}

void StepAndPause(ProtocolContext& ctx) {
  FlowProgress(ctx.port).Step();
  ctx.port.Pause(kAfterGroup);
  ctx.port.ProcessPendingMessages();
}

// The number of keys to send: `count`, or fewer when the device says it holds fewer.
int ApplyKeyCapacity(ProtocolContext& ctx, int count) {
  if (ctx.deviceInfo.pingLevel < kFirstPingLevelWithKeyCapacity)
    return count;
  ctx.transport.SendText(kAskKeyCapacity);
  ctx.port.Pause(kReplyWait);
  if (ctx.transport.BytesAvailable() != 1)
    return count;
  const int capacity = ctx.transport.ReadByte();
  if (capacity >= count)
    return count;
  ctx.port.LogProgress("\r\n...Truncating number of keys to match device.");
  return capacity;
}

}  // namespace

bool PingKeypad(ProtocolContext& ctx) {
  ctx.transport.SendText(kPing);
  ctx.port.Pause(kReplyWait);
  int waiting = 0;
  for (int poll = 0; poll < kPingPolls; ++poll) {
    waiting = ctx.transport.BytesAvailable();
    if (waiting > 0)
      break;
    ctx.port.Pause(kPingPollPause);
  }
  if (waiting <= 0) {
    ctx.deviceInfo.pingLevel = 0;
    return true;
  }
  for (int i = 0; i < waiting; ++i)
    ctx.deviceInfo.pingLevel = ctx.transport.ReadByte();
  return false;
}

bool DownloadKeysTMode(ProtocolContext& ctx, const KeyTable& keyTable,
                       GlobalParameterBlock& globalBlock, int count) {
  FlowProgress progress(ctx.port);
  progress.Line("\r\n...Download start");
  if (ctx.transport.OpenStream(ReportMode::T)) {
    progress.Line("\r\n...FAILED! Cannot open keypad.");
    return true;
  }
  if (PingKeypad(ctx))
    return Fail(ctx, "\r\n...FAILED communication.");

  globalBlock.bytes[GlobalParameterBlock::kParameterCount] = kParameterCount;
  const int keys = ApplyKeyCapacity(ctx, count);

  progress.Line("\r\n...Downloading globals.");
  ctx.transport.SendText(kGroupPrefix);
  for (std::size_t i = 0; i < kBlockLength; ++i) {
    if (SendByte(ctx, globalBlock.bytes[i]))
      return Fail(ctx, "\r\n...FAILED downloading globals.");
    ctx.port.Pause(kAfterBlockByte);
  }
  StepAndPause(ctx);

  progress.Line("\r\n...Downloading keys.");
  for (int j = 0; j < keys && j < static_cast<int>(keyTable.size()); ++j) {
    ctx.port.LogProgress("\r\n...Downloading key #" + std::to_string(j + 1) + ".");
    if (PingKeypad(ctx))
      return Fail(ctx, "\r\n...FAILED communication (ping).");
    ctx.transport.SendText(kGroupPrefix);
    for (const KeyWireByte& byte : KeyRecordWireBytes(keyTable[static_cast<std::size_t>(j)])) {
      if (SendByte(ctx, byte.value))
        return Fail(ctx, KeyFailureText(byte.part));
      if (keys == kSlowKeyCount)
        ctx.port.Pause(kAfterBlockByte);
    }
    StepAndPause(ctx);
  }

  ctx.transport.SendText(kGroupPrefix);
  if (SendByte(ctx, kEndByte))
    return Fail(ctx, "\r\n...FAILED reboot.");
  ctx.transport.CloseStream();
  // Queued reports go out on the writer thread; one that could not be written (the device
  // left after the last ping) is known only now.
  if (ctx.transport.streamWriteFailed()) {
    progress.Line("\r\n...FAILED communication.");
    return true;
  }
  progress.Fill();
  ctx.port.Pause(kAtEnd);
  ctx.port.ProcessPendingMessages();
  return false;
}

}  // namespace tdxx
