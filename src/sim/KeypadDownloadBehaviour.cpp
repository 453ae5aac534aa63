#include "sim/KeypadDownloadBehaviour.h"

#include "sim/SimulatedDevice.h"

namespace tdxx::sim {
namespace {

// Report ID, a count of one, the data byte.
constexpr std::size_t kDataByte = 2;

}  // namespace

int KeypadDownloadBehaviour::OnSetFeature(SimulatedDevice& device,
                                          std::span<const std::uint8_t> report) {
  const DeviceConfig config = device.config();
  ++featureReports_;
  if (config.featureSendFails || featureReports_ == config.rejectFeatureReport)
    return -1;
  if (config.keyImage && report.size() > kDataByte)
    config.keyImage->Feed(report[kDataByte], device.Now());
  if (featureReports_ == config.unplugAfterFeatureReports)
    device.Unplug();
  return static_cast<int>(report.size());
}

}  // namespace tdxx::sim
