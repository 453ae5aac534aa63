#include "sim/BootloaderBehaviour.h"

#include <algorithm>
#include <vector>

#include "sim/IdentityChange.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::sim {
namespace {

constexpr std::uint8_t kPrefix = 0x40;
constexpr std::uint8_t kErase = 0x17;
constexpr std::uint8_t kWriteChunk = 0x12;
constexpr std::uint8_t kReadChunk = 0x11;
constexpr std::uint8_t kBurn = 0x14;
constexpr std::uint8_t kVerify = 0x15;
constexpr std::uint8_t kRestart = 0x04;
constexpr std::uint8_t kRefused = 0x00;
constexpr std::size_t kApplicationStart = 8192;
constexpr std::uint8_t kFirstApplicationBlock = 16;
constexpr int kChunksPerBlock = 16;

}  // namespace

void BootloaderBehaviour::OnUnplug(SimulatedDevice& device) {
  StreamCommandBehaviour::OnUnplug(device);
  chunksReceived_ = 0;
}

std::size_t BootloaderBehaviour::Consume(SimulatedDevice& device,
                                         std::span<const std::uint8_t> pending) {
  if (pending[0] != kPrefix || pending.size() < 2)
    return StreamCommandBehaviour::Consume(device, pending);
  switch (pending[1]) {
    case kErase:
      if (pending.size() < 4)
        return 0;
      Erase(device);
      return 4;
    case kWriteChunk: {
      if (pending.size() < 4)
        return 0;
      const std::size_t length = pending[3];
      if (pending.size() < 4 + length)
        return 0;
      WriteChunk(device, pending[2], pending.subspan(4, length));
      return 4 + length;
    }
    case kReadChunk:
    case kBurn:
    case kVerify:
      if (pending.size() < 3)
        return 0;
      if (pending[1] == kReadChunk)
        ReadChunk(device, pending[2]);
      else if (pending[1] == kBurn)
        Burn(device, pending[2]);
      else
        Verify(device, pending[2]);
      return 3;
    case kRestart:
      Restart(device);
      return 2;
    default:
      return StreamCommandBehaviour::Consume(device, pending);
  }
}

void BootloaderBehaviour::Erase(SimulatedDevice& device) {
  const DeviceConfig config = device.config();
  if (config.flash) {
    config.flash->EraseFrom(kApplicationStart);
    config.flash->CountErase();
  }
  if (!config.eraseUnanswered)
    device.SendPayload({config.eraseAnswer}, config.eraseTime);
}

void BootloaderBehaviour::WriteChunk(SimulatedDevice& device, std::uint8_t chunk,
                                     std::span<const std::uint8_t> data) {
  const std::size_t start = static_cast<std::size_t>(chunk) * kChunkSize;
  for (std::size_t i = 0; i < data.size() && start + i < kBlockSize; ++i)
    buffer_[start + i] = data[i];
  if (++chunksReceived_ < kChunksPerBlock)
    return;
  chunksReceived_ = 0;
  ++transfers_;
  device.SendPayload({kWriteChunk});
}

void BootloaderBehaviour::ReadChunk(SimulatedDevice& device, std::uint8_t chunk) {
  const int index = chunk % kChunksPerBlock;
  const std::size_t start = static_cast<std::size_t>(index) * kChunkSize;
  std::vector<std::uint8_t> answer(
      buffer_.begin() + static_cast<std::ptrdiff_t>(start),
      buffer_.begin() + static_cast<std::ptrdiff_t>(start + kChunkSize));
  const DeviceConfig config = device.config();
  const int first = config.corruptReadbackAttempt;
  if (first > 0 && transfers_ >= first && transfers_ < first + config.corruptReadbackTimes &&
      index == config.corruptReadbackChunk)
    answer[static_cast<std::size_t>(config.corruptReadbackByte) % kChunkSize] ^= 0x5A;
  device.SendPayload(answer);
}

void BootloaderBehaviour::Burn(SimulatedDevice& device, std::uint8_t block) {
  const DeviceConfig config = device.config();
  if (config.burnRefused || block < kFirstApplicationBlock || !config.flash) {
    device.SendPayload({kRefused});
    return;
  }
  config.flash->Write(static_cast<std::size_t>(block) * kBlockSize,
                      std::vector<std::uint8_t>(buffer_.begin(), buffer_.end()));
  device.SendPayload({kBurn});
}

void BootloaderBehaviour::Verify(SimulatedDevice& device, std::uint8_t block) {
  const DeviceConfig config = device.config();
  const bool same = config.flash &&
                    config.flash->Read(static_cast<std::size_t>(block) * kBlockSize, kBlockSize) ==
                        std::vector<std::uint8_t>(buffer_.begin(), buffer_.end());
  device.SendPayload({same && !config.verifyRefused ? kVerify : kRefused});
}

}  // namespace tdxx::sim
