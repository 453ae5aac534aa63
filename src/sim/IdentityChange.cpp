#include "sim/IdentityChange.h"

#include <optional>
#include <utility>

#include "sim/DeviceBehaviourFactory.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::sim {
namespace {

void ComeBackAs(SimulatedDevice& device, const DeviceConfig& leaving, DeviceConfig as) {
  std::optional<ClockDuration> after;
  if (!leaving.neverReturns)
    after = leaving.returnDelay;
  std::unique_ptr<DeviceBehaviour> behaviour = MakeDeviceBehaviour(as);
  device.LeaveAndReturn(after, std::move(as), std::move(behaviour));
}

}  // namespace

bool LaunchBootloader(SimulatedDevice& device) {
  const DeviceConfig keypad = device.config();
  if (keypad.bootloaderKind.empty())
    return false;
  std::optional<DeviceConfig> bootloader = DeviceConfigForKind(keypad.bootloaderKind);
  if (!bootloader)
    return false;
  bootloader->returnAs = std::make_shared<DeviceConfig>(keypad);
  ComeBackAs(device, keypad, std::move(*bootloader));
  return true;
}

void Restart(SimulatedDevice& device) {
  const DeviceConfig current = device.config();
  ComeBackAs(device, current, current.returnAs ? *current.returnAs : current);
}

}  // namespace tdxx::sim
