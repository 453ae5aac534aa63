#pragma once

#include <memory>

#include "sim/DeviceBehaviour.h"
#include "sim/DeviceConfig.h"

namespace tdxx::sim {

// The behaviour for a configuration's firmware model; null leaves the bus's default.
std::unique_ptr<DeviceBehaviour> MakeDeviceBehaviour(const DeviceConfig& config);

}  // namespace tdxx::sim
