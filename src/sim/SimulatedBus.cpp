#include "sim/SimulatedBus.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>

#include "sim/DeviceBehaviour.h"

namespace tdxx::sim {

struct SimulatedBus::PendingInput {
  Milliseconds due;
  Bytes bytes;
};

struct SimulatedBus::Handle {
  SimulatedDevice* device = nullptr;
  int interfaceIndex = 0;
  // Input reports for this handle, ordered by the time they become readable.
  std::deque<PendingInput> input;
  // The last read returned a report and the reader has not come back for the next one yet.
  bool holding = false;
  std::wstring lastError = L"Success";
};

namespace {

wchar_t* CopyWide(const std::wstring& text) {
  auto* copy = new wchar_t[text.size() + 1];
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

char* CopyNarrow(const std::string& text) {
  auto* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

}  // namespace

SimulatedBus::SimulatedBus(Clock& clock) : clock_(clock) {}

SimulatedBus::~SimulatedBus() = default;

SimulatedDevice& SimulatedBus::AddDevice(DeviceConfig config,
                                         std::unique_ptr<DeviceBehaviour> behaviour) {
  std::lock_guard lock(mutex_);
  if (!behaviour) {
    if (config.streamMode)
      behaviour = std::make_unique<StreamCommandBehaviour>();
    else
      behaviour = std::make_unique<KeypadBehaviour>();
  }
  devices_.push_back(
      std::make_unique<SimulatedDevice>(*this, std::move(config), std::move(behaviour)));
  devices_.back()->index_ = static_cast<int>(devices_.size() - 1);
  return *devices_.back();
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
  hid_device_info* head = nullptr;
  hid_device_info** tail = &head;
  for (const auto& device : devices_) {
    const DeviceConfig& config = device->config_;
    if (!device->plugged_ || (vendorId != 0 && vendorId != config.vendorId) ||
        (productId != 0 && productId != config.productId))
      continue;
    for (int i = 0; i < config.interfaceCount; ++i) {
      for (int collection = 0; collection < std::max(config.collectionsPerInterface, 1);
           ++collection) {
        auto* info = new hid_device_info{};
        info->path = CopyNarrow(InterfacePath(device->index_, i));
        info->vendor_id = config.vendorId;
        info->product_id = config.productId;
        info->serial_number = CopyWide(L"");
        info->release_number = 0x0100;
        info->manufacturer_string = CopyWide(config.manufacturer);
        info->product_string = CopyWide(config.product);
        info->usage_page = 0xFF00;
        info->usage = static_cast<unsigned short>(1 + collection);
        info->interface_number = i;
        info->bus_type = HID_API_BUS_USB;
        *tail = info;
        tail = &info->next;
      }
    }
  }
  return head;
}

void SimulatedBus::HidFreeEnumeration(hid_device_info* devices) {
  while (devices != nullptr) {
    hid_device_info* next = devices->next;
    delete[] devices->path;
    delete[] devices->serial_number;
    delete[] devices->manufacturer_string;
    delete[] devices->product_string;
    delete devices;
    devices = next;
  }
}

hid_device* SimulatedBus::HidOpenPath(const char* path) {
  std::lock_guard lock(mutex_);
  if (path == nullptr) {
    errno = EINVAL;
    lastError_ = L"Failed to open a device: no path";
    return nullptr;
  }
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
      if (config.openErrno != 0) {
        errno = config.openErrno;
        lastError_ = L"Failed to open a device with path '" + Widen(path) + L"': " +
                     Widen(std::strerror(config.openErrno));
        return nullptr;
      }
      auto handle = std::make_unique<Handle>();
      handle->device = device.get();
      handle->interfaceIndex = i;
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
  {
    std::lock_guard lock(mutex_);
    handles_.erase(handle);
  }
  inputArrived_.notify_all();
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
  std::lock_guard lock(mutex_);
  Handle* h = UsableHandle(handle, data, length);
  if (h == nullptr)
    return -1;
  SimulatedDevice& device = *h->device;
  device.featureReports_.push_back({clock_.Now(), Bytes(data, data + length), h->interfaceIndex});
  const int result = device.behaviour_->OnSetFeature(device, {data, length});
  if (result < 0)
    h->lastError = L"Feature report refused";
  return result;
}

int SimulatedBus::HidGetFeatureReport(hid_device* handle, unsigned char* data, std::size_t length) {
  std::lock_guard lock(mutex_);
  Handle* h = UsableHandle(handle, data, length);
  if (h == nullptr)
    return -1;
  SimulatedDevice& device = *h->device;
  ++device.featureReads_;
  const int result = device.behaviour_->OnGetFeature(device, {data, length});
  if (result < 0)
    h->lastError = L"Feature report not available";
  return result;
}

int SimulatedBus::HidWrite(hid_device* handle, const unsigned char* data, std::size_t length) {
  std::lock_guard lock(mutex_);
  Handle* h = UsableHandle(handle, data, length);
  if (h == nullptr)
    return -1;
  SimulatedDevice& device = *h->device;
  device.outputReports_.push_back({clock_.Now(), Bytes(data, data + length), h->interfaceIndex});
  if (device.config_.unplugAfterReports > 0 &&
      ++device.outputReportsSinceUnplugSet_ >= device.config_.unplugAfterReports) {
    UnplugDevice(device);
    return static_cast<int>(length);
  }
  device.behaviour_->OnOutputReport(device, {data, length});
  return static_cast<int>(length);
}

int SimulatedBus::HidReadTimeout(hid_device* handle, unsigned char* data, std::size_t length,
                                 int milliseconds) {
  std::unique_lock lock(mutex_);
  const auto deadline = std::chrono::steady_clock::now() + Milliseconds(std::max(milliseconds, 0));
  for (bool first = true;; first = false) {
    Handle* h = FindHandle(handle);
    if (h == nullptr || data == nullptr)
      return -1;
    if (first)
      h->holding = false;
    if (!h->device->plugged_) {
      h->lastError = L"Device unplugged";
      return -1;
    }
    const Milliseconds now = clock_.Now();
    if (!h->input.empty() && h->input.front().due <= now) {
      const Bytes& report = h->input.front().bytes;
      const std::size_t count = std::min(length, report.size());
      std::copy_n(report.begin(), count, data);
      h->input.pop_front();
      h->holding = true;
      return static_cast<int>(count);
    }
    if (milliseconds == 0)
      return 0;
    // Wake at the deadline, or when the next report falls due on the clock's time.
    auto wakeAt = milliseconds > 0 ? deadline : std::chrono::steady_clock::time_point::max();
    if (!h->input.empty())
      wakeAt = std::min(wakeAt, std::chrono::steady_clock::now() + (h->input.front().due - now));
    if (milliseconds > 0 && std::chrono::steady_clock::now() >= deadline)
      return 0;
    if (wakeAt == std::chrono::steady_clock::time_point::max())
      inputArrived_.wait(lock);
    else
      inputArrived_.wait_until(lock, wakeAt);
  }
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

bool SimulatedBus::InputSettled() const {
  std::lock_guard lock(mutex_);
  const Milliseconds now = clock_.Now();
  for (const auto& [key, handle] : handles_) {
    if (!handle->device->plugged_)
      continue;
    if (handle->holding)
      return false;
    if (!handle->input.empty() && handle->input.front().due <= now)
      return false;
  }
  return true;
}

void SimulatedBus::WakeReaders() {
  inputArrived_.notify_all();
}

void SimulatedBus::QueueInput(SimulatedDevice& device, const Bytes& report, Milliseconds delay) {
  const Milliseconds due = clock_.Now() + delay;
  for (auto& [key, handle] : handles_) {
    if (handle->device != &device)
      continue;
    auto& input = handle->input;
    const auto at = std::upper_bound(
        input.begin(), input.end(), due,
        [](Milliseconds d, const PendingInput& pending) { return d < pending.due; });
    input.insert(at, PendingInput{due, report});
  }
  inputArrived_.notify_all();
}

void SimulatedBus::UnplugDevice(SimulatedDevice& device) {
  if (!device.plugged_)
    return;
  device.plugged_ = false;
  for (auto& [key, handle] : handles_) {
    if (handle->device == &device) {
      handle->input.clear();
      handle->holding = false;
    }
  }
  device.behaviour_->OnUnplug(device);
  inputArrived_.notify_all();
}

}  // namespace tdxx::sim
