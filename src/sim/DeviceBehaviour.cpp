#include "sim/DeviceBehaviour.h"

#include <algorithm>

#include "sim/SimulatedDevice.h"

namespace tdxx::sim {

int DeviceBehaviour::OnSetFeature(SimulatedDevice& device, std::span<const std::uint8_t> report) {
  return device.config().featureSendFails ? -1 : static_cast<int>(report.size());
}

int DeviceBehaviour::OnGetFeature(SimulatedDevice& device, std::span<std::uint8_t> buffer) {
  const DeviceConfig config = device.config();
  if (config.identityReadFails)
    return -1;
  const std::uint8_t reportId = buffer.empty() ? 0 : buffer[0];
  std::fill(buffer.begin(), buffer.end(), 0);
  const std::size_t count = std::min(buffer.size(), config.identityReport.size());
  std::copy_n(config.identityReport.begin(), count, buffer.begin());
  if (!buffer.empty())
    buffer[0] = reportId;
  return static_cast<int>(buffer.size());
}

void DeviceBehaviour::OnOutputReport(SimulatedDevice&, std::span<const std::uint8_t>) {}
void DeviceBehaviour::OnUnplug(SimulatedDevice&) {}
void DeviceBehaviour::OnPlug(SimulatedDevice&) {}

void StreamCommandBehaviour::OnOutputReport(SimulatedDevice& device,
                                            std::span<const std::uint8_t> report) {
  // Report ID, count, payload: the count decides how much of the report is payload.
  if (report.size() < 2)
    return;
  const std::size_t count = std::min<std::size_t>(report[1], report.size() - 2);
  pending_.insert(pending_.end(), report.begin() + 2, report.begin() + 2 + count);
  while (!pending_.empty()) {
    const std::size_t used = Consume(device, pending_);
    if (used == 0)
      break;
    pending_.erase(pending_.begin(), pending_.begin() + std::min(used, pending_.size()));
  }
}

void StreamCommandBehaviour::OnUnplug(SimulatedDevice&) {
  pending_.clear();
}

std::size_t StreamCommandBehaviour::Consume(SimulatedDevice& device,
                                            std::span<const std::uint8_t> pending) {
  if (pending[0] != 0x40) {
    OnStrayByte(device, pending[0]);
    return 1;
  }
  if (pending.size() < 2)
    return 0;
  OnCommand(device, pending[1]);
  return 2;
}

void StreamCommandBehaviour::OnCommand(SimulatedDevice& device, std::uint8_t command) {
  const DeviceConfig config = device.config();
  const auto reply = config.replies.find(command);
  if (reply == config.replies.end() || !reply->second.answered || reply->second.bytes.empty())
    return;
  device.SendPayload(reply->second.bytes, reply->second.delay);
}

void StreamCommandBehaviour::OnStrayByte(SimulatedDevice&, std::uint8_t) {}

}  // namespace tdxx::sim
