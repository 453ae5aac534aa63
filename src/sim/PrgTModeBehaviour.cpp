#include "sim/PrgTModeBehaviour.h"

#include "sim/DeviceCatalog.h"
#include "sim/IdentityChange.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::sim {
namespace {

constexpr std::uint8_t kGroupPrefix = 0xE2;
// 0x40 0x0B 0x52 0x62: switch to the bootloader (the last two bytes arrive as stray bytes).
constexpr std::uint8_t kCommandLaunchBootloader = 0x0B;

}  // namespace

void PrgTModeBehaviour::OnUnplug(SimulatedDevice& device) {
  StreamCommandBehaviour::OnUnplug(device);
  inGroup_ = false;
}

std::size_t PrgTModeBehaviour::Consume(SimulatedDevice& device,
                                       std::span<const std::uint8_t> pending) {
  if (!inGroup_) {
    if (pending[0] == kGroupPrefix) {
      inGroup_ = true;
      return 1;
    }
    return StreamCommandBehaviour::Consume(device, pending);
  }
  const DeviceConfig config = device.config();
  if (!config.keyImage) {
    inGroup_ = false;
    return 1;
  }
  config.keyImage->Feed(pending[0], device.Now());
  if (config.keyImage->BetweenRecords())
    inGroup_ = false;
  if (config.unplugAfterKey > 0 &&
      config.keyImage->Snapshot().CompleteKeyCount() >= config.unplugAfterKey)
    device.LeaveAndReturn(std::nullopt, config, nullptr);
  return 1;
}

void PrgTModeBehaviour::OnCommand(SimulatedDevice& device, std::uint8_t command) {
  if (command == kCommandLaunchBootloader) {
    LaunchBootloader(device);
    return;
  }
  if (command == kCommandPing) {
    const DeviceConfig config = device.config();
    if (config.noPingFromKey > 0 && config.keyImage &&
        config.keyImage->Snapshot().CompleteKeyCount() >= config.noPingFromKey - 1)
      return;
  }
  StreamCommandBehaviour::OnCommand(device, command);
}

}  // namespace tdxx::sim
