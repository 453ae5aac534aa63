#include "protocol/FirmwareUpgrade.h"

#include <algorithm>
#include <string>

#include "protocol/FlowProgress.h"

namespace tdxx {
namespace {

constexpr std::uint8_t kPrefix = 0x40;
constexpr std::uint8_t kErase = 0x17;
constexpr std::uint8_t kWriteChunk = 0x12;
constexpr std::uint8_t kReadChunk = 0x11;
constexpr std::uint8_t kBurn = 0x14;
constexpr std::uint8_t kVerify = 0x15;
constexpr std::uint8_t kEraseCommand[] = {kPrefix, kErase, 0x45, 0x61};
constexpr std::uint8_t kRestartCommand[] = {kPrefix, 0x04};

constexpr std::size_t kChunkSize = 32;
constexpr std::uint8_t kChunks = 16;
constexpr std::uint32_t kLongImage = 64448;

constexpr Milliseconds kEraseTime{1000};
constexpr Milliseconds kTransferAnswerWait{100};
constexpr Milliseconds kReadbackWait{10};
constexpr Milliseconds kReadbackRetryWait{100};
constexpr Milliseconds kBurnWait{100};
constexpr Milliseconds kVerifyWait{10};
constexpr Milliseconds kBeforeEvenBlock{100};
constexpr Milliseconds kBeforeOddBlock{10};
constexpr Milliseconds kBeforeRetry{1000};
constexpr Milliseconds kDrainWait{1000};
constexpr Milliseconds kBeforeRestart{1000};
constexpr Milliseconds kAfterRestart{100};

bool SendCommand(ProtocolContext& ctx, std::uint8_t command, std::uint8_t argument) {
  const std::uint8_t bytes[] = {kPrefix, command, argument};
  return ctx.transport.SendBytes(bytes, sizeof bytes);
}

// True when a byte is waiting and it is `expected`.
bool AnswerIs(ProtocolContext& ctx, std::uint8_t expected) {
  return ctx.transport.BytesAvailable() > 0 && ctx.transport.ReadByte() == expected;
}

bool IsBlank(const FirmwareBlock& block) {
  return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0xFF; });
}

// Restart command, then the stream closes.
void RestartAndClose(ProtocolContext& ctx) {
  ctx.transport.SendBytes(kRestartCommand, sizeof kRestartCommand);
  ctx.port.Pause(kAfterRestart);
  ctx.transport.CloseStream();
}

int Transfer(ProtocolContext& ctx, std::span<const std::uint8_t, kFirmwareBlockSize> data) {
  for (std::uint8_t c = 0; c < kChunks; ++c) {
    const std::uint8_t header[] = {kPrefix, kWriteChunk, c, static_cast<std::uint8_t>(kChunkSize)};
    ctx.transport.SendBytes(header, sizeof header);
    ctx.transport.SendBytes(data.data() + c * kChunkSize, kChunkSize);
  }
  ctx.port.Pause(kTransferAnswerWait);
  if (ctx.transport.BytesAvailable() == 0) {
    FlowProgress(ctx.port).Line("\r\n... Download retry wait");
    ctx.port.ProcessPendingMessages();
    ctx.port.Pause(kTransferAnswerWait);
    if (ctx.transport.BytesAvailable() == 0)
      return kUpgradeTransferUnanswered;
  }
  return ctx.transport.ReadByte() == kWriteChunk ? kUpgradeDone : kUpgradeTransferRefused;
}

int ReadBack(ProtocolContext& ctx, std::span<const std::uint8_t, kFirmwareBlockSize> data) {
  constexpr int kChunkBytes = static_cast<int>(kChunkSize);
  for (std::uint8_t c = 0; c < kChunks; ++c) {
    SendCommand(ctx, kReadChunk, c);
    ctx.port.Pause(kReadbackWait);
    if (ctx.transport.BytesAvailable() < kChunkBytes) {
      FlowProgress(ctx.port).Line("\r\n... Verify retry wait");
      ctx.port.Pause(kReadbackRetryWait);
      ctx.port.ProcessPendingMessages();
      if (ctx.transport.BytesAvailable() < kChunkBytes)
        return kUpgradeReadbackMissing;
    }
    for (std::size_t k = 0; k < kChunkSize; ++k) {
      if (ctx.transport.ReadByte() != data[c * kChunkSize + k])
        return kUpgradeReadbackDiffers;
    }
  }
  return kUpgradeDone;
}

}  // namespace

int FirmwareBlockCount(const FirmwareImage& firmware) {
  const std::uint32_t length = std::min<std::uint32_t>(firmware.imageLength, kLongImage);
  if (length <= kFirstFirmwareBlockAddress)
    return 0;
  return static_cast<int>((length - kFirstFirmwareBlockAddress + kFirmwareBlockSize - 1) /
                          kFirmwareBlockSize);
}

FirmwareBlock FirmwareBlockAt(const FirmwareImage& firmware, std::uint32_t address) {
  FirmwareBlock block;
  block.fill(0xFF);
  for (std::size_t i = 0; i < kFirmwareBlockSize && address + i < firmware.image.size(); ++i)
    block[i] = firmware.image[address + i];
  return block;
}

int WriteFirmwareBlock(ProtocolContext& ctx, std::uint32_t address,
                       std::span<const std::uint8_t, kFirmwareBlockSize> data) {
  if (const int code = Transfer(ctx, data); code != kUpgradeDone)
    return code;
  if (const int code = ReadBack(ctx, data); code != kUpgradeDone)
    return code;
  const auto blockNumber = static_cast<std::uint8_t>(address / kFirmwareBlockSize);
  SendCommand(ctx, kBurn, blockNumber);
  ctx.port.Pause(kBurnWait);
  if (!AnswerIs(ctx, kBurn))
    return kUpgradeBurnFailed;
  SendCommand(ctx, kVerify, blockNumber);
  ctx.port.Pause(kVerifyWait);
  return AnswerIs(ctx, kVerify) ? kUpgradeDone : kUpgradeVerifyFailed;
}

void DrainInput(ProtocolContext& ctx) {
  ctx.port.Pause(kDrainWait);
  while (ctx.transport.BytesAvailable() != 0)
    ctx.transport.ReadByte();
}

int UpgradeFirmware(ProtocolContext& ctx, const FirmwareImage& firmware, int totalBlocks) {
  FlowProgress progress(ctx.port);
  progress.Line("\r\n...Upgrade start");
  if (ctx.transport.OpenStream(ReportMode::U))
    return kUpgradeNoStream;

  progress.Line("\r\n...Erasing old firmware");
  ctx.transport.SendBytes(kEraseCommand, sizeof kEraseCommand);
  ctx.port.Pause(kEraseTime);
  if (!AnswerIs(ctx, kErase)) {
    // Nothing was written: the bootloader keeps running as it is, without a restart.
    ctx.transport.CloseStream();
    return kUpgradeEraseFailed;
  }

  progress.Line("\r\n...Programming");
  const int blocks = FirmwareBlockCount(firmware);
  for (int n = 1; n <= blocks; ++n) {
    const std::uint32_t address =
        kFirstFirmwareBlockAddress + static_cast<std::uint32_t>(n - 1) * kFirmwareBlockSize;
    progress.Line("\r\n...Flash data, block " + std::to_string(n) + " of " +
                  std::to_string(totalBlocks));
    progress.Step();
    ctx.port.Pause((address / kFirmwareBlockSize) % 2 == 1 ? kBeforeOddBlock : kBeforeEvenBlock);
    ctx.port.ProcessPendingMessages();

    const FirmwareBlock block = FirmwareBlockAt(firmware, address);
    if (IsBlank(block))
      continue;
    if (WriteFirmwareBlock(ctx, address, block) == kUpgradeDone)
      continue;
    progress.Line("\r\n... Retry block");
    ctx.port.ProcessPendingMessages();
    ctx.port.Pause(kBeforeRetry);
    DrainInput(ctx);
    if (const int code = WriteFirmwareBlock(ctx, address, block); code != kUpgradeDone) {
      RestartAndClose(ctx);
      return code;
    }
  }

  progress.Fill();
  ctx.port.ProcessPendingMessages();
  ctx.port.Pause(kBeforeRestart);
  RestartAndClose(ctx);
  return kUpgradeDone;
}

std::string_view UpgradeFailureReason(int code) {
  switch (code) {
    case kUpgradeNoStream:
      return " Keypad communication lost.";
    case kUpgradeEraseFailed:
      return " Keypad failed erase.";
    case kUpgradeTransferUnanswered:
    case kUpgradeTransferRefused:
      return " Keypad data transfer failure.";
    case kUpgradeReadbackMissing:
    case kUpgradeReadbackDiffers:
      return " Keypad data readback failure.";
    case kUpgradeBurnFailed:
      return " Keypad data burn failure.";
    case kUpgradeVerifyFailed:
      return " Keypad data verify failure.";
    default:
      return "";
  }
}

}  // namespace tdxx
