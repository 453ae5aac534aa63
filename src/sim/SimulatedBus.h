#pragma once

#include <hidapi/hidapi.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "sim/DeviceConfig.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::sim {

// The simulated USB: the devices plugged in, in enumeration order, and the handles open on
// them. SimHidApi forwards hidapi's calls to the Hid* members, which keep hidapi's results:
// -1 for failures, errno set after a failed open, input reports without the report ID.
// Interface paths look like "/sim/hidraw1.0" (device 1, interface 0).
// Thread-safe: one recursive lock guards everything, so device behaviours can call back into
// their device. Device calls take the time their device is configured for (on the bus's clock,
// without the lock held); reads wait on the clock too. Two calls that overlap on one handle are
// counted (hidapi does not allow them): tests assert overlaps() == 0.
class SimulatedBus {
 public:
  explicit SimulatedBus(Clock& clock);
  ~SimulatedBus();
  SimulatedBus(const SimulatedBus&) = delete;
  SimulatedBus& operator=(const SimulatedBus&) = delete;

  // Plugs in a device built from `config`; the behaviour defaults to the one its kind needs
  // (stream commands when config.streamMode is set, a plain keypad otherwise).
  SimulatedDevice& AddDevice(DeviceConfig config, std::unique_ptr<DeviceBehaviour> behaviour = {});
  std::size_t deviceCount() const;
  SimulatedDevice& device(std::size_t index);
  // The first device with this kind name, or null.
  SimulatedDevice* FindDevice(const std::string& name);
  // Path of one interface of a device.
  static std::string InterfacePath(int deviceIndex, int interfaceIndex);

  Clock& clock() { return clock_; }

  // hidapi's entry points, as SimHidApi calls them.
  int HidInit();
  int HidExit();
  hid_device_info* HidEnumerate(unsigned short vendorId, unsigned short productId);
  void HidFreeEnumeration(hid_device_info* devices);
  hid_device* HidOpenPath(const char* path);
  void HidClose(hid_device* handle);
  int HidSendFeatureReport(hid_device* handle, const unsigned char* data, std::size_t length);
  int HidGetFeatureReport(hid_device* handle, unsigned char* data, std::size_t length);
  int HidWrite(hid_device* handle, const unsigned char* data, std::size_t length);
  int HidReadTimeout(hid_device* handle, unsigned char* data, std::size_t length, int milliseconds);
  const wchar_t* HidError(hid_device* handle);
  // What the handle's node is now (its device's identifiers and the path), kept with the
  // handle until it closes; null (with the handle's error set) once the device has gone.
  hid_device_info* HidGetDeviceInfo(hid_device* handle);
  // The interface locks of every connection on this bus (one "machine"): a path locked by one
  // transport is HeldElsewhere for every other.
  LockResult HidLockPath(const char* path, std::unique_ptr<InterfaceLock>& lock);

  // Calls of hid_init and hid_exit so far, and handles open now.
  int initCount() const;
  int exitCount() const;
  int openHandleCount() const;

  // Calls that began on a handle while another call on it was still running.
  int overlaps() const;
  // Paths locked now.
  std::set<std::string> lockedPaths() const;

 private:
  friend class SimulatedDevice;
  struct Handle;
  struct PendingInput;
  class PathLock;

  Handle* FindHandle(hid_device* handle) const;
  // The open handle behind `handle`, when the call's buffer is usable and the device is still
  // plugged in (else null, with the handle's error text set as hidapi would).
  Handle* UsableHandle(hid_device* handle, const unsigned char* data, std::size_t length);
  // Marks the start and the end of a call on a handle (the end finds the handle by key, since
  // it may have been closed meanwhile).
  void BeginCall(Handle& handle);
  void EndCall(hid_device* handle);
  // Spends a device call's own time without the lock, then ends the call.
  void FinishCall(hid_device* handle, ClockDuration time,
                  std::unique_lock<std::recursive_mutex>& lock);
  // Stamps the end of the call that carried a recorded report.
  void StampEnd(std::vector<RecordedReport>& reports, std::size_t index);
  void QueueInput(SimulatedDevice& device, const Bytes& report, ClockDuration delay);
  void UnplugDevice(SimulatedDevice& device);
  // Brings back the devices whose return (SimulatedDevice::LeaveAndReturn) is due.
  void ApplyDueReturns();
  std::unique_ptr<DeviceBehaviour> DefaultBehaviour(const DeviceConfig& config) const;
  int OpenHandlesOf(const SimulatedDevice& device) const;

  Clock& clock_;
  mutable std::recursive_mutex mutex_;
  std::vector<std::unique_ptr<SimulatedDevice>> devices_;
  std::map<hid_device*, std::unique_ptr<Handle>> handles_;
  std::uintptr_t nextHandle_ = 1;
  std::wstring lastError_ = L"Success";
  int initCount_ = 0;
  int exitCount_ = 0;
  int overlaps_ = 0;
  std::set<std::string> lockedPaths_;
};

}  // namespace tdxx::sim
