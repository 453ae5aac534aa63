#include "sim/SimulatedDevice.h"

#include <algorithm>
#include <mutex>

#include "sim/SimulatedBus.h"

namespace tdxx::sim {

SimulatedDevice::SimulatedDevice(SimulatedBus& bus, DeviceConfig config,
                                 std::unique_ptr<DeviceBehaviour> behaviour)
    : bus_(bus), name_(config.name), config_(std::move(config)), behaviour_(std::move(behaviour)) {
  if (!behaviour_)
    behaviour_ = std::make_unique<DeviceBehaviour>();
}

SimulatedDevice::~SimulatedDevice() = default;

DeviceConfig SimulatedDevice::config() const {
  std::lock_guard lock(bus_.mutex_);
  return config_;
}

void SimulatedDevice::Configure(const std::function<void(DeviceConfig&)>& change) {
  std::lock_guard lock(bus_.mutex_);
  const int unplugBefore = config_.unplugAfterReports;
  change(config_);
  if (config_.unplugAfterReports != unplugBefore)
    outputReportsSinceUnplugSet_ = 0;
}

void SimulatedDevice::SetBehaviour(std::unique_ptr<DeviceBehaviour> behaviour) {
  std::lock_guard lock(bus_.mutex_);
  behaviour_ = behaviour ? std::move(behaviour) : std::make_unique<DeviceBehaviour>();
}

void SimulatedDevice::SetIdentifiers(std::uint16_t vendorId, std::uint16_t productId) {
  Configure([&](DeviceConfig& c) {
    c.vendorId = vendorId;
    c.productId = productId;
  });
}

void SimulatedDevice::SetInterfaceCount(int count) {
  Configure([&](DeviceConfig& c) { c.interfaceCount = std::max(count, 0); });
}

void SimulatedDevice::SetIdentityReport(Bytes report) {
  Configure([&](DeviceConfig& c) { c.identityReport = std::move(report); });
}

void SimulatedDevice::FailIdentityRead(bool fails) {
  Configure([&](DeviceConfig& c) { c.identityReadFails = fails; });
}

void SimulatedDevice::FailFeatureSend(bool fails) {
  Configure([&](DeviceConfig& c) { c.featureSendFails = fails; });
}

void SimulatedDevice::RefuseOpen(int errnoValue) {
  Configure([&](DeviceConfig& c) { c.openErrno = errnoValue; });
}

void SimulatedDevice::RefuseOpenAfterAppearing(ClockDuration duration) {
  std::lock_guard lock(bus_.mutex_);
  config_.openRefusedAfterAppearing = duration;
  if (plugged_)
    appearedAt_ = bus_.clock_.Now();
}

void SimulatedDevice::SetReply(std::uint8_t command, Bytes bytes) {
  Configure([&](DeviceConfig& c) {
    c.replies[command] = CommandReply{std::move(bytes), true, {}};
  });
}

void SimulatedDevice::SetNoAnswer(std::uint8_t command) {
  Configure([&](DeviceConfig& c) { c.replies[command].answered = false; });
}

void SimulatedDevice::SetLateAnswer(std::uint8_t command, ClockDuration delay) {
  Configure([&](DeviceConfig& c) { c.replies[command].delay = delay; });
}

void SimulatedDevice::SetShortAnswer(std::uint8_t command, std::size_t length) {
  Configure([&](DeviceConfig& c) {
    Bytes& bytes = c.replies[command].bytes;
    bytes.resize(std::min(bytes.size(), length));
  });
}

void SimulatedDevice::SetGarbageAnswer(std::uint8_t command) {
  Configure([&](DeviceConfig& c) {
    static constexpr std::uint8_t kGarbage[] = {0xFF, 0x00, 0x81, 0x1B, 0x7F, 0x0D, 0xC3, 0x01};
    Bytes& bytes = c.replies[command].bytes;
    if (bytes.empty())
      bytes.resize(16);
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = kGarbage[i % sizeof kGarbage];
  });
}

void SimulatedDevice::UnplugAfterReports(int count) {
  Configure([&](DeviceConfig& c) { c.unplugAfterReports = count; });
  std::lock_guard lock(bus_.mutex_);
  outputReportsSinceUnplugSet_ = 0;
}

void SimulatedDevice::Unplug() {
  std::lock_guard lock(bus_.mutex_);
  bus_.UnplugDevice(*this);
}

void SimulatedDevice::Plug() {
  std::lock_guard lock(bus_.mutex_);
  if (plugged_)
    return;
  plugged_ = true;
  appearedAt_ = bus_.clock_.Now();
  behaviour_->OnPlug(*this);
}

void SimulatedDevice::LeaveAndReturn(std::optional<ClockDuration> after, DeviceConfig as,
                                     std::unique_ptr<DeviceBehaviour> behaviour) {
  std::lock_guard lock(bus_.mutex_);
  bus_.UnplugDevice(*this);
  return_.reset();
  if (after)
    return_ = PendingReturn{bus_.clock_.Now() + *after, std::move(as), std::move(behaviour)};
}

bool SimulatedDevice::returnPending() const {
  std::lock_guard lock(bus_.mutex_);
  return return_.has_value();
}

bool SimulatedDevice::plugged() const {
  std::lock_guard lock(bus_.mutex_);
  return plugged_;
}

void SimulatedDevice::SendPayload(const Bytes& payload, ClockDuration delay) {
  std::lock_guard lock(bus_.mutex_);
  const ReportMode mode = config_.streamMode.value_or(ReportMode::U);
  const std::size_t capacity = mode == ReportMode::U ? 63 : 7;
  for (std::size_t start = 0; start < payload.size(); start += capacity) {
    const std::size_t count = std::min(capacity, payload.size() - start);
    Bytes report(capacity + 1, 0);
    report[0] = static_cast<std::uint8_t>(count);
    std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(start), count, report.begin() + 1);
    SendInputReport(std::move(report), delay);
  }
}

void SimulatedDevice::SendInputReport(Bytes report, ClockDuration delay) {
  std::lock_guard lock(bus_.mutex_);
  if (!plugged_)
    return;
  inputReports_.push_back({bus_.clock_.Now() + delay, {}, report, 0});
  bus_.QueueInput(*this, report, delay);
}

std::vector<RecordedReport> SimulatedDevice::featureReports() const {
  std::lock_guard lock(bus_.mutex_);
  return featureReports_;
}

std::vector<RecordedReport> SimulatedDevice::outputReports() const {
  std::lock_guard lock(bus_.mutex_);
  return outputReports_;
}

std::vector<RecordedReport> SimulatedDevice::inputReports() const {
  std::lock_guard lock(bus_.mutex_);
  return inputReports_;
}

Bytes SimulatedDevice::receivedPayload() const {
  std::lock_guard lock(bus_.mutex_);
  Bytes payload;
  for (const RecordedReport& report : outputReports_) {
    if (report.bytes.size() < 2)
      continue;
    const std::size_t count = std::min<std::size_t>(report.bytes[1], report.bytes.size() - 2);
    payload.insert(payload.end(), report.bytes.begin() + 2, report.bytes.begin() + 2 + count);
  }
  return payload;
}

int SimulatedDevice::featureReadCount() const {
  std::lock_guard lock(bus_.mutex_);
  return featureReads_;
}

int SimulatedDevice::readCallCount() const {
  std::lock_guard lock(bus_.mutex_);
  return readCalls_;
}

void SimulatedDevice::SetCallTimes(ClockDuration write, ClockDuration feature) {
  Configure([&](DeviceConfig& c) {
    c.writeTime = write;
    c.featureTime = feature;
  });
}

int SimulatedDevice::openCount() const {
  std::lock_guard lock(bus_.mutex_);
  return opens_;
}

int SimulatedDevice::openHandleCount() const {
  std::lock_guard lock(bus_.mutex_);
  return bus_.OpenHandlesOf(*this);
}

void SimulatedDevice::ClearRecordings() {
  std::lock_guard lock(bus_.mutex_);
  featureReports_.clear();
  outputReports_.clear();
  inputReports_.clear();
  featureReads_ = 0;
  readCalls_ = 0;
  opens_ = 0;
}

ClockDuration SimulatedDevice::Now() const {
  return bus_.clock_.Now();
}

}  // namespace tdxx::sim
