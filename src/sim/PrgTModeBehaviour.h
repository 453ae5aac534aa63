#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sim/DeviceBehaviour.h"

namespace tdxx::sim {

// A keypad switched to PRG/TMode: outside a group the stream carries commands 0x40 xx (pings
// 0x40 0x08 and the key-capacity query 0x40 0x1D answer from the configuration's replies);
// 0xE2 opens a group, which holds one record of the key-definition image (global block, key
// record or end byte) and ends with it. Records go into the configuration's keyImage.
// 0x40 0x0B switches the device to its bootloader (IdentityChange.h).
class PrgTModeBehaviour : public StreamCommandBehaviour {
 public:
  void OnUnplug(SimulatedDevice& device) override;

 protected:
  std::size_t Consume(SimulatedDevice& device, std::span<const std::uint8_t> pending) override;
  void OnCommand(SimulatedDevice& device, std::uint8_t command) override;

 private:
  bool inGroup_ = false;
};

}  // namespace tdxx::sim
