#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/DeviceBehaviour.h"

namespace tdxx::sim {

// A bootloader's firmware command set on the report stream, over the configuration's flash:
//   0x40 0x17 0x45 0x61  erase the application area (from 8192), answer 0x17 after eraseTime;
//   0x40 0x12 c 0x20 + 32 bytes  chunk c into the 512-byte buffer; 0x12 after 16 chunks;
//   0x40 0x11 c          answer chunk c of the buffer (32 bytes);
//   0x40 0x14 b          burn the buffer into block b (refused, 0x00, below block 16);
//   0x40 0x15 b          verify block b against the buffer (0x15, or 0x00);
//   0x40 0x04            restart: leave and come back as the keypad it was launched from.
// Other 0x40 xx commands answer from the configured replies (version queries). The fault knobs
// of the configuration (eraseUnanswered, eraseAnswer, corruptReadback*, burnRefused,
// verifyRefused) change the answers.
class BootloaderBehaviour : public StreamCommandBehaviour {
 public:
  static constexpr std::size_t kBlockSize = 512;
  static constexpr std::size_t kChunkSize = 32;

  void OnUnplug(SimulatedDevice& device) override;

 protected:
  std::size_t Consume(SimulatedDevice& device, std::span<const std::uint8_t> pending) override;

 private:
  void Erase(SimulatedDevice& device);
  void WriteChunk(SimulatedDevice& device, std::uint8_t chunk, std::span<const std::uint8_t> data);
  void ReadChunk(SimulatedDevice& device, std::uint8_t chunk);
  void Burn(SimulatedDevice& device, std::uint8_t block);
  void Verify(SimulatedDevice& device, std::uint8_t block);

  std::array<std::uint8_t, kBlockSize> buffer_{};
  int chunksReceived_ = 0;
  // Transfers of 16 chunks so far (the read-back corruption counts them).
  int transfers_ = 0;
};

}  // namespace tdxx::sim
