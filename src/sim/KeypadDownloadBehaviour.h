#pragma once

#include <cstdint>
#include <span>

#include "sim/DeviceBehaviour.h"

namespace tdxx::sim {

// A keypad in normal operation that takes key definitions one byte per feature report
// ([0x00, 0x01, byte, 0, 0, 0]) into the configuration's keyImage. Honours the fault knobs
// rejectFeatureReport and unplugAfterFeatureReports.
class KeypadDownloadBehaviour : public KeypadBehaviour {
 public:
  int OnSetFeature(SimulatedDevice& device, std::span<const std::uint8_t> report) override;

 private:
  int featureReports_ = 0;
};

}  // namespace tdxx::sim
