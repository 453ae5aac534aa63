#include "sim/DeviceBehaviourFactory.h"

#include "sim/BootloaderBehaviour.h"
#include "sim/KeypadDownloadBehaviour.h"
#include "sim/PrgTModeBehaviour.h"

namespace tdxx::sim {

std::unique_ptr<DeviceBehaviour> MakeDeviceBehaviour(const DeviceConfig& config) {
  switch (config.firmware) {
    case DeviceFirmware::Keypad:
      return std::make_unique<KeypadDownloadBehaviour>();
    case DeviceFirmware::PrgTMode:
      return std::make_unique<PrgTModeBehaviour>();
    case DeviceFirmware::Bootloader:
      return std::make_unique<BootloaderBehaviour>();
    case DeviceFirmware::Plain:
      break;
  }
  return nullptr;
}

}  // namespace tdxx::sim
