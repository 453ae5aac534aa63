#include "hid/HidTransport.h"

#include <algorithm>
#include <cerrno>
#include <cwchar>

#include "hid/HidTransportState.h"
#include "hid/KeypadIdentifierTable.h"
#include "hid/KeypadInterfaceWalk.h"

namespace tdxx {

namespace {

constexpr Milliseconds kCloseKeypadPause{10};
constexpr Milliseconds kPermissionRetryEvery{100};

}  // namespace

// hidapi's wide error texts are plain ASCII in practice; anything else becomes '?'.
std::string HidTransportNarrowText(const wchar_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text)
    narrow += (*text > 0 && *text < 0x80) ? static_cast<char>(*text) : '?';
  return narrow;
}

// hidapi reports a failed open through errno; its error text is a second opinion in case
// cleaning up inside hid_open_path touched errno.
bool OpenDeniedForLackOfPermission(int openErrno, HidApi& api) {
  if (openErrno == EACCES || openErrno == EPERM)
    return true;
  const wchar_t* text = api.error(nullptr);
  return text != nullptr && (std::wcsstr(text, L"Permission denied") != nullptr ||
                             std::wcsstr(text, L"Operation not permitted") != nullptr);
}

void HidTransport::State::JoinPumps() {
  if (writer)
    writer->Stop();
  if (reader)
    reader->Stop();
  writer.reset();  // the destructors join
  reader.reset();
  streamClosing = false;
}

void HidTransport::State::CloseDevice() {
  for (hid_device** device : {&featureDevice, &readerDevice, &writerDevice}) {
    if (*device != nullptr && api)
      api->close(*device);
    *device = nullptr;
  }
  deviceLock.reset();
}

hid_device* HidTransport::State::OpenPath(const std::string& path, int& openErrno) {
  errno = 0;
  hid_device* device = api->open_path(path.c_str());
  openErrno = errno;
  if (device != nullptr || permissionGrace <= ClockDuration::zero())
    return device;
  // udev applies the rule that grants access a moment after the kernel made the node.
  const ClockDuration deadline = clock.Now() + permissionGrace;
  while (device == nullptr && OpenDeniedForLackOfPermission(openErrno, *api) &&
         clock.Now() < deadline) {
    clock.Pause(kPermissionRetryEvery);
    errno = 0;
    device = api->open_path(path.c_str());
    openErrno = errno;
  }
  return device;
}

bool HidTransport::State::NodeIsDevice(hid_device* device, const std::string& path,
                                       std::uint16_t vendorId, std::uint16_t productId) {
  if (const hid_device_info* info = api->get_device_info(device))
    return info->vendor_id == vendorId && info->product_id == productId;
  // A library without hid_get_device_info (or a device that cannot say): a fresh enumeration
  // of that path tells what is there now.
  bool same = false;
  hid_device_info* interfaces = api->enumerate(vendorId, productId);
  for (const hid_device_info* info = interfaces; info != nullptr; info = info->next)
    same = same || (info->path != nullptr && path == info->path && info->vendor_id == vendorId &&
                    info->product_id == productId);
  api->free_enumeration(interfaces);
  return same;
}

HidTransport::HidTransport(HidLibraryBinder& binder, Clock& clock)
    : state_(std::make_unique<State>(binder, clock)) {}

HidTransport::~HidTransport() {
  state_->JoinPumps();
  state_->CloseDevice();
  if (state_->api) {
    state_->api->exit();
    state_->api.reset();
  }
}

bool HidTransport::LoadHidLibrary() {
  State& s = *state_;
  if (s.api)
    return false;
  std::string error;
  std::unique_ptr<HidApi> api = s.binder.Bind(error);
  if (!api) {
    s.bindError = error.empty() ? "The HID library could not be bound." : error;
    return true;
  }
  if (api->init() != 0) {
    s.bindError = "hid_init failed: " + HidTransportNarrowText(api->error(nullptr));
    return true;
  }
  s.api = std::move(api);
  s.bindError.clear();
  return false;
}

void HidTransport::UnloadHidLibrary() {
  State& s = *state_;
  // Nothing may call into the library once it is gone: the pumps end first, and a device
  // still open is closed while hid_close is still there.
  s.JoinPumps();
  s.CloseDevice();
  if (s.api) {
    s.api->exit();
    s.api.reset();
  }
}

bool HidTransport::hidBound() const {
  return state_->api != nullptr;
}
const std::string& HidTransport::bindError() const {
  return state_->bindError;
}
const std::string& HidTransport::devicePath() const {
  return state_->devicePath;
}
const std::vector<std::string>& HidTransport::permissionDeniedPaths() const {
  return state_->permissionDeniedPaths;
}
const std::vector<std::string>& HidTransport::busyPaths() const {
  return state_->busyPaths;
}

void HidTransport::SetPermissionGrace(ClockDuration grace) {
  state_->permissionGrace = grace;
}
ClockDuration HidTransport::permissionGrace() const {
  return state_->permissionGrace;
}

void HidTransport::SetDeviceFilter(std::string path) {
  state_->deviceFilter = std::move(path);
}
const std::string& HidTransport::deviceFilter() const {
  return state_->deviceFilter;
}

DeviceKind HidTransport::FindKeypad(bool keepOpen) {
  State& s = *state_;
  // The refusals of an earlier discovery must not be reported again when binding fails.
  s.permissionDeniedPaths.clear();
  s.busyPaths.clear();
  if (LoadHidLibrary())
    return -1;
  // A connection left from before would be lost when the kept handle is replaced.
  s.JoinPumps();
  s.CloseDevice();

  s.devicePath.clear();
  s.deviceVendorId = 0;
  s.deviceProductId = 0;
  int kindCounts[15] = {};
  DeviceKind result = 0;
  hid_device* kept = nullptr;
  std::unique_ptr<InterfaceLock> keptLock;
  WalkKeypadInterfaces(*s.api, s.deviceFilter, [&](const KeypadInterface& keypad) {
    // Another connection holds the interface (a firmware upgrade in another window, say):
    // opening it, even briefly, could disturb that conversation.
    std::unique_ptr<InterfaceLock> lock;
    if (s.api->lock_path(keypad.path.c_str(), lock) == LockResult::HeldElsewhere) {
      s.busyPaths.push_back(keypad.path);
      if (keepOpen)
        return true;
      s.devicePath = keypad.path;
      s.deviceVendorId = keypad.vendorId;
      s.deviceProductId = keypad.productId;
      ++kindCounts[keypad.kind];
      result = keypad.kind;
      return true;
    }
    // The identifiers come from the enumeration; the open tells whether the interface can be
    // used at all, and with keepOpen it is the handle kept.
    int openErrno = 0;
    hid_device* device = s.OpenPath(keypad.path, openErrno);
    // The handle kept is checked: between the enumeration and the open the node may have gone
    // to another device. Such an open counts as failed.
    if (device != nullptr && keepOpen &&
        !s.NodeIsDevice(device, keypad.path, keypad.vendorId, keypad.productId)) {
      s.api->close(device);
      return true;
    }
    bool counts = device != nullptr;
    if (device == nullptr && OpenDeniedForLackOfPermission(openErrno, *s.api)) {
      s.permissionDeniedPaths.push_back(keypad.path);
      // Without keepOpen the device is still named (detection adds the permission hint);
      // with keepOpen there is nothing to hold, so the walk goes on.
      counts = !keepOpen;
    }
    if (!counts)
      return true;
    s.devicePath = keypad.path;
    s.deviceVendorId = keypad.vendorId;
    s.deviceProductId = keypad.productId;
    ++kindCounts[keypad.kind];
    result = keypad.kind;
    if (keepOpen) {
      kept = device;
      keptLock = std::move(lock);
      return false;
    }
    if (device != nullptr)
      s.api->close(device);
    return true;
  });

  if (keepOpen) {
    if (kept != nullptr) {
      s.featureDevice = kept;
      s.deviceLock = std::move(keptLock);
    }
    return result;
  }
  int kindsSeen = 0;
  for (int count : kindCounts)
    kindsSeen += count > 0 ? 1 : 0;
  UnloadHidLibrary();
  return kindsSeen >= 2 ? -1 : result;
}

void HidTransport::CloseKeypad() {
  State& s = *state_;
  s.JoinPumps();
  s.CloseDevice();
  s.clock.Pause(kCloseKeypadPause);
  UnloadHidLibrary();
  s.clock.Pause(kCloseKeypadPause);
}

}  // namespace tdxx
