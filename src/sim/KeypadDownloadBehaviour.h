#pragma once

#include <cstdint>
#include <span>

#include "sim/DeviceBehaviour.h"

namespace tdxx::sim {

// A keypad in normal operation that takes key definitions one byte per feature report
// ([0x00, 0x01, byte, 0, 0, 0]) into the configuration's keyImage. Honours the fault knobs
// rejectFeatureReport and unplugAfterFeatureReports. Outside a key download it also takes the
// keypad commands: 0xE4 0x08 switches to the bootloader, 0xE4 0x09 erases the settings and
// 0xE5 reboots; each makes the keypad leave the bus and come back (IdentityChange.h).
class KeypadDownloadBehaviour : public KeypadBehaviour {
 public:
  int OnSetFeature(SimulatedDevice& device, std::span<const std::uint8_t> report) override;

 private:
  // Acts on a keypad command; true when `byte` completed one.
  bool TakeCommand(SimulatedDevice& device, std::uint8_t byte, bool betweenRecords);

  int featureReports_ = 0;
  // 0xE4 arrived outside a record: the next byte says what it opens.
  bool commandPrefix_ = false;
  // A key-definition record was opened since the keypad came up.
  bool keyRecordsSeen_ = false;
};

}  // namespace tdxx::sim
