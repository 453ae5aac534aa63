#include "sim/KeypadDownloadBehaviour.h"

#include "sim/IdentityChange.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::sim {
namespace {

// Report ID, a count of one, the data byte.
constexpr std::size_t kDataByte = 2;
constexpr std::uint8_t kCommandPrefix = 0xE4;
constexpr std::uint8_t kLaunchBootloader = 0x08;
constexpr std::uint8_t kEraseSettings = 0x09;
constexpr std::uint8_t kReboot = 0xE5;

}  // namespace

bool KeypadDownloadBehaviour::TakeCommand(SimulatedDevice& device, std::uint8_t byte,
                                          bool betweenRecords) {
  if (commandPrefix_) {
    commandPrefix_ = false;
    if (byte == kLaunchBootloader) {
      LaunchBootloader(device);
      return true;
    }
    if (byte == kEraseSettings) {
      Restart(device);
      return true;
    }
    keyRecordsSeen_ = true;
    return false;
  }
  if (!betweenRecords)
    return false;
  commandPrefix_ = byte == kCommandPrefix;
  // The end byte of a key download also reboots the real keypad; only a 0xE5 that follows no
  // key-definition record is taken as the reboot command here.
  if (byte == kReboot && !keyRecordsSeen_) {
    Restart(device);
    return true;
  }
  return false;
}

int KeypadDownloadBehaviour::OnSetFeature(SimulatedDevice& device,
                                          std::span<const std::uint8_t> report) {
  const DeviceConfig config = device.config();
  ++featureReports_;
  if (config.featureSendFails || featureReports_ == config.rejectFeatureReport)
    return -1;
  if (report.size() > kDataByte) {
    const std::uint8_t byte = report[kDataByte];
    const bool betweenRecords = !config.keyImage || config.keyImage->BetweenRecords();
    if (config.keyImage)
      config.keyImage->Feed(byte, device.Now());
    if (TakeCommand(device, byte, betweenRecords))
      return static_cast<int>(report.size());
  }
  if (featureReports_ == config.unplugAfterFeatureReports)
    device.Unplug();
  return static_cast<int>(report.size());
}

}  // namespace tdxx::sim
