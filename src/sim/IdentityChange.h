#pragma once

#include "sim/DeviceConfig.h"

namespace tdxx::sim {

class SimulatedDevice;

// The ways a simulated device leaves the bus and comes back as something else, each after the
// leaving device's returnDelay (or never, with neverReturns).

// A keypad switched to its bootloader: comes back as its bootloaderKind, which remembers the
// keypad for its restart. False (and nothing happens) when the keypad has no bootloader.
bool LaunchBootloader(SimulatedDevice& device);
// A keypad that reboots (also after an erase), or a bootloader told to restart: comes back as
// the keypad it was launched from, or as itself.
void Restart(SimulatedDevice& device);

}  // namespace tdxx::sim
