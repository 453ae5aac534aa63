#include "sim/SimulatedBus.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <optional>

#include "sim/DeviceBehaviour.h"
#include "sim/DeviceInfoList.h"

namespace tdxx::sim {

struct SimulatedBus::PendingInput {
  ClockDuration due;
  Bytes bytes;
};

struct SimulatedBus::Handle {
  SimulatedDevice* device = nullptr;
  int interfaceIndex = 0;
  // Input reports for this handle, ordered by the time they become readable.
  std::deque<PendingInput> input;
  // Set when input arrives, the device goes or the handle closes; a waiting read looks again.
  // Shared, so that a read waiting on it outlives a close.
  std::shared_ptr<ClockEvent> inputEvent;
  // Calls running on the handle now.
  int activeCalls = 0;
  // What hid_get_device_info gave out, freed with the handle.
  std::unique_ptr<hid_device_info, void (*)(hid_device_info*)> info{nullptr, FreeDeviceInfoList};
  std::wstring lastError = L"Success";
};

class SimulatedBus::PathLock final : public InterfaceLock {
 public:
  PathLock(SimulatedBus& bus, std::string path) : bus_(bus), path_(std::move(path)) {}
  ~PathLock() override {
    std::lock_guard lock(bus_.mutex_);
    bus_.lockedPaths_.erase(path_);
  }
  PathLock(const PathLock&) = delete;
  PathLock& operator=(const PathLock&) = delete;

 private:
  SimulatedBus& bus_;
  const std::string path_;
};

namespace {

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

SimulatedBus::SimulatedBus(Clock& clock) : clock_(clock) {}

SimulatedBus::~SimulatedBus() = default;

SimulatedDevice& SimulatedBus::AddDevice(DeviceConfig config,
                                         std::unique_ptr<DeviceBehaviour> behaviour) {
  std::lock_guard lock(mutex_);
  if (!behaviour)
    behaviour = DefaultBehaviour(config);
  devices_.push_back(
      std::make_unique<SimulatedDevice>(*this, std::move(config), std::move(behaviour)));
  devices_.back()->index_ = static_cast<int>(devices_.size() - 1);
  return *devices_.back();
}

std::unique_ptr<DeviceBehaviour> SimulatedBus::DefaultBehaviour(const DeviceConfig& config) const {
  if (config.streamMode)
    return std::make_unique<StreamCommandBehaviour>();
  return std::make_unique<KeypadBehaviour>();
}

void SimulatedBus::ApplyDueReturns() {
  const ClockDuration now = clock_.Now();
  for (const auto& device : devices_) {
    auto& pending = device->return_;
    if (!pending || pending->due > now)
      continue;
    // No behaviour runs now (they run under this lock, and never enumerate or open), so the
    // old one may go.
    device->appearedAt_ = pending->due;
    device->config_ = std::move(pending->config);
    device->behaviour_ =
        pending->behaviour ? std::move(pending->behaviour) : DefaultBehaviour(device->config_);
    pending.reset();
    device->outputReportsSinceUnplugSet_ = 0;
    device->plugged_ = true;
    device->behaviour_->OnPlug(*device);
  }
}

std::size_t SimulatedBus::deviceCount() const {
  std::lock_guard lock(mutex_);
  return devices_.size();
}

SimulatedDevice& SimulatedBus::device(std::size_t index) {
  std::lock_guard lock(mutex_);
  return *devices_.at(index);
}

SimulatedDevice* SimulatedBus::FindDevice(const std::string& name) {
  std::lock_guard lock(mutex_);
  for (const auto& device : devices_) {
    if (device->name() == name)
      return device.get();
  }
  return nullptr;
}

std::string SimulatedBus::InterfacePath(int deviceIndex, int interfaceIndex) {
  return "/sim/hidraw" + std::to_string(deviceIndex) + "." + std::to_string(interfaceIndex);
}

int SimulatedBus::HidInit() {
  std::lock_guard lock(mutex_);
  ++initCount_;
  return 0;
}

int SimulatedBus::HidExit() {
  std::lock_guard lock(mutex_);
  ++exitCount_;
  return 0;
}

hid_device_info* SimulatedBus::HidEnumerate(unsigned short vendorId, unsigned short productId) {
  std::lock_guard lock(mutex_);
  ApplyDueReturns();
  DeviceInfoList list;
  for (const auto& device : devices_) {
    const DeviceConfig& config = device->config_;
    if (!device->plugged_ || (vendorId != 0 && vendorId != config.vendorId) ||
        (productId != 0 && productId != config.productId))
      continue;
    for (int i = 0; i < config.interfaceCount; ++i) {
      for (int collection = 0; collection < std::max(config.collectionsPerInterface, 1);
           ++collection) {
        DeviceInfoEntry entry;
        entry.path = InterfacePath(device->index_, i);
        entry.vendorId = config.vendorId;
        entry.productId = config.productId;
        entry.releaseNumber = 0x0100;
        entry.manufacturer = config.manufacturer;
        entry.product = config.product;
        entry.usagePage = 0xFF00;
        entry.usage = static_cast<unsigned short>(1 + collection);
        entry.interfaceNumber = i;
        entry.busType = HID_API_BUS_USB;
        list.Add(entry);
      }
    }
  }
  return list.Release();
}

void SimulatedBus::HidFreeEnumeration(hid_device_info* devices) {
  FreeDeviceInfoList(devices);
}

hid_device* SimulatedBus::HidOpenPath(const char* path) {
  std::lock_guard lock(mutex_);
  if (path == nullptr) {
    errno = EINVAL;
    lastError_ = L"Failed to open a device: no path";
    return nullptr;
  }
  ApplyDueReturns();
  for (const auto& device : devices_) {
    const DeviceConfig& config = device->config_;
    for (int i = 0; i < config.interfaceCount; ++i) {
      if (InterfacePath(device->index_, i) != path)
        continue;
      if (!device->plugged_) {
        errno = ENOENT;
        lastError_ =
            L"Failed to open a device with path '" + Widen(path) + L"': No such file or directory";
        return nullptr;
      }
      const bool beforeUdev = clock_.Now() < device->appearedAt_ + config.openRefusedAfterAppearing;
      const int openErrno = config.openErrno != 0 ? config.openErrno : beforeUdev ? EACCES : 0;
      if (openErrno != 0) {
        errno = openErrno;
        lastError_ = L"Failed to open a device with path '" + Widen(path) + L"': " +
                     Widen(std::strerror(openErrno));
        return nullptr;
      }
      auto handle = std::make_unique<Handle>();
      handle->device = device.get();
      handle->interfaceIndex = i;
      handle->inputEvent = clock_.MakeEvent();
      // Handles are opaque to the caller; numbered keys are never reused, so a stale handle
      // is recognised instead of reaching freed memory.
      auto* key = reinterpret_cast<hid_device*>(nextHandle_++ * 16);
      handles_.emplace(key, std::move(handle));
      ++device->opens_;
      lastError_ = L"Success";
      return key;
    }
  }
  errno = ENOENT;
  lastError_ =
      L"Failed to open a device with path '" + Widen(path) + L"': No such file or directory";
  return nullptr;
}

void SimulatedBus::HidClose(hid_device* handle) {
  std::lock_guard lock(mutex_);
  const auto found = handles_.find(handle);
  if (found == handles_.end())
    return;
  if (found->second->activeCalls > 0)
    ++overlaps_;  // closing a handle that another thread is using
  found->second->inputEvent->Set();
  handles_.erase(found);
}

void SimulatedBus::BeginCall(Handle& handle) {
  if (handle.activeCalls++ > 0)
    ++overlaps_;
}

void SimulatedBus::EndCall(hid_device* handle) {
  if (Handle* h = FindHandle(handle))
    --h->activeCalls;
}

void SimulatedBus::FinishCall(hid_device* handle, ClockDuration time,
                              std::unique_lock<std::recursive_mutex>& lock) {
  if (time.count() > 0) {
    lock.unlock();
    clock_.Spend(time);
    lock.lock();
  }
  EndCall(handle);
}

void SimulatedBus::StampEnd(std::vector<RecordedReport>& reports, std::size_t index) {
  // The recordings may have been cleared while the call ran.
  if (index < reports.size())
    reports[index].ended = clock_.Now();
}

LockResult SimulatedBus::HidLockPath(const char* path, std::unique_ptr<InterfaceLock>& lock) {
  std::lock_guard guard(mutex_);
  lock.reset();
  if (path == nullptr)
    return LockResult::NotLockable;
  if (!lockedPaths_.insert(path).second)
    return LockResult::HeldElsewhere;
  lock = std::make_unique<PathLock>(*this, path);
  return LockResult::Locked;
}

SimulatedBus::Handle* SimulatedBus::FindHandle(hid_device* handle) const {
  const auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : found->second.get();
}

SimulatedBus::Handle* SimulatedBus::UsableHandle(hid_device* handle, const unsigned char* data,
                                                 std::size_t length) {
  Handle* h = FindHandle(handle);
  if (h == nullptr || data == nullptr || length == 0)
    return nullptr;
  if (!h->device->plugged_) {
    // As hidapi does once the device is gone.
    h->lastError = L"Device unplugged";
    return nullptr;
  }
  return h;
}

int SimulatedBus::HidSendFeatureReport(hid_device* handle, const unsigned char* data,
                                       std::size_t length) {
  // The report is stamped when the call is made: the bus lock is the simulation's own, and
  // waiting for it is no time the device sees.
  const ClockDuration called = clock_.Now();
  std::unique_lock lock(mutex_);
  Handle* h = UsableHandle(handle, data, length);
  if (h == nullptr)
    return -1;
  BeginCall(*h);
  SimulatedDevice& device = *h->device;
  device.featureReports_.push_back({called, {}, Bytes(data, data + length), h->interfaceIndex});
  const std::size_t recorded = device.featureReports_.size() - 1;
  const int result = device.behaviour_->OnSetFeature(device, {data, length});
  if (result < 0)
    h->lastError = L"Feature report refused";
  FinishCall(handle, device.config_.featureTime, lock);
  StampEnd(device.featureReports_, recorded);
  return result;
}

int SimulatedBus::HidGetFeatureReport(hid_device* handle, unsigned char* data, std::size_t length) {
  std::unique_lock lock(mutex_);
  Handle* h = UsableHandle(handle, data, length);
  if (h == nullptr)
    return -1;
  BeginCall(*h);
  SimulatedDevice& device = *h->device;
  ++device.featureReads_;
  const int result = device.behaviour_->OnGetFeature(device, {data, length});
  if (result < 0)
    h->lastError = L"Feature report not available";
  FinishCall(handle, device.config_.featureTime, lock);
  return result;
}

int SimulatedBus::HidWrite(hid_device* handle, const unsigned char* data, std::size_t length) {
  const ClockDuration called = clock_.Now();  // as for feature reports
  std::unique_lock lock(mutex_);
  Handle* h = UsableHandle(handle, data, length);
  if (h == nullptr)
    return -1;
  BeginCall(*h);
  SimulatedDevice& device = *h->device;
  device.outputReports_.push_back({called, {}, Bytes(data, data + length), h->interfaceIndex});
  const std::size_t recorded = device.outputReports_.size() - 1;
  if (device.config_.unplugAfterReports > 0 &&
      ++device.outputReportsSinceUnplugSet_ >= device.config_.unplugAfterReports) {
    UnplugDevice(device);
  } else {
    device.behaviour_->OnOutputReport(device, {data, length});
  }
  FinishCall(handle, device.config_.writeTime, lock);
  StampEnd(device.outputReports_, recorded);
  return static_cast<int>(length);
}

int SimulatedBus::HidReadTimeout(hid_device* handle, unsigned char* data, std::size_t length,
                                 int milliseconds) {
  std::unique_lock lock(mutex_);
  Handle* h = FindHandle(handle);
  if (h == nullptr || data == nullptr)
    return -1;
  BeginCall(*h);
  ++h->device->readCalls_;
  const bool forever = milliseconds < 0;
  const ClockDuration deadline = clock_.Now() + Milliseconds(std::max(milliseconds, 0));
  for (;;) {
    h = FindHandle(handle);
    if (h == nullptr)
      return -1;  // closed under the read (counted as an overlap by the close)
    if (!h->device->plugged_) {
      h->lastError = L"Device unplugged";
      EndCall(handle);
      return -1;
    }
    const ClockDuration now = clock_.Now();
    if (!h->input.empty() && h->input.front().due <= now) {
      const Bytes& report = h->input.front().bytes;
      const std::size_t count = std::min(length, report.size());
      std::copy_n(report.begin(), count, data);
      h->input.pop_front();
      EndCall(handle);
      return static_cast<int>(count);
    }
    if (!forever && now >= deadline) {
      EndCall(handle);
      return 0;
    }
    // Wait for the time-out, the next report falling due, or news (input, unplug, close).
    std::optional<ClockDuration> until;
    if (!forever)
      until = deadline;
    if (!h->input.empty())
      until = until ? std::min(*until, h->input.front().due) : h->input.front().due;
    const std::shared_ptr<ClockEvent> news = h->inputEvent;
    lock.unlock();
    if (until)
      news->WaitFor(*until - now);
    else
      news->Wait();
    lock.lock();
  }
}

hid_device_info* SimulatedBus::HidGetDeviceInfo(hid_device* handle) {
  std::lock_guard lock(mutex_);
  Handle* h = FindHandle(handle);
  if (h == nullptr)
    return nullptr;
  SimulatedDevice& device = *h->device;
  if (!device.plugged_) {
    h->lastError = L"Device unplugged";
    return nullptr;
  }
  // Read from the device as it is now: a node whose device turned into another kind tells so.
  DeviceInfoEntry entry;
  entry.path = InterfacePath(device.index_, h->interfaceIndex);
  entry.vendorId = device.config_.vendorId;
  entry.productId = device.config_.productId;
  entry.manufacturer = device.config_.manufacturer;
  entry.product = device.config_.product;
  entry.interfaceNumber = h->interfaceIndex;
  entry.busType = HID_API_BUS_USB;
  DeviceInfoList list;
  list.Add(entry);
  h->info.reset(list.Release());
  return h->info.get();
}

const wchar_t* SimulatedBus::HidError(hid_device* handle) {
  std::lock_guard lock(mutex_);
  if (handle == nullptr)
    return lastError_.c_str();
  Handle* h = FindHandle(handle);
  return h == nullptr ? L"Invalid device handle" : h->lastError.c_str();
}

int SimulatedBus::initCount() const {
  std::lock_guard lock(mutex_);
  return initCount_;
}

int SimulatedBus::exitCount() const {
  std::lock_guard lock(mutex_);
  return exitCount_;
}

int SimulatedBus::openHandleCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(handles_.size());
}

int SimulatedBus::OpenHandlesOf(const SimulatedDevice& device) const {
  int count = 0;
  for (const auto& [key, handle] : handles_)
    count += handle->device == &device ? 1 : 0;
  return count;
}

int SimulatedBus::overlaps() const {
  std::lock_guard lock(mutex_);
  return overlaps_;
}

std::set<std::string> SimulatedBus::lockedPaths() const {
  std::lock_guard lock(mutex_);
  return lockedPaths_;
}

void SimulatedBus::QueueInput(SimulatedDevice& device, const Bytes& report, ClockDuration delay) {
  const ClockDuration due = clock_.Now() + delay;
  for (auto& [key, handle] : handles_) {
    if (handle->device != &device)
      continue;
    auto& input = handle->input;
    const auto at = std::upper_bound(
        input.begin(), input.end(), due,
        [](ClockDuration d, const PendingInput& pending) { return d < pending.due; });
    input.insert(at, PendingInput{due, report});
    handle->inputEvent->Set();
  }
}

void SimulatedBus::UnplugDevice(SimulatedDevice& device) {
  if (!device.plugged_)
    return;
  device.plugged_ = false;
  for (auto& [key, handle] : handles_) {
    if (handle->device == &device) {
      handle->input.clear();
      handle->inputEvent->Set();
    }
  }
  device.behaviour_->OnUnplug(device);
}

}  // namespace tdxx::sim
