#pragma once

#include <hidapi/hidapi.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
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
// their device.
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

  // Calls of hid_init and hid_exit so far, and handles open now.
  int initCount() const;
  int exitCount() const;
  int openHandleCount() const;

  // Settling (virtual-time tests): true when no open handle has an input report that is due by
  // now and not yet read, and no reader is still busy with the report it last read (a reader
  // counts as done with a report when it calls hid_read_timeout again or closes the handle).
  bool InputSettled() const;
  // Wakes readers blocked in HidReadTimeout, so they look at the clock again (after virtual
  // time moved on).
  void WakeReaders();

 private:
  friend class SimulatedDevice;
  struct Handle;
  struct PendingInput;

  Handle* FindHandle(hid_device* handle) const;
  // The open handle behind `handle`, when the call's buffer is usable and the device is still
  // plugged in (else null, with the handle's error text set as hidapi would).
  Handle* UsableHandle(hid_device* handle, const unsigned char* data, std::size_t length);
  void QueueInput(SimulatedDevice& device, const Bytes& report, Milliseconds delay);
  void UnplugDevice(SimulatedDevice& device);
  int OpenHandlesOf(const SimulatedDevice& device) const;

  Clock& clock_;
  mutable std::recursive_mutex mutex_;
  std::condition_variable_any inputArrived_;
  std::vector<std::unique_ptr<SimulatedDevice>> devices_;
  std::map<hid_device*, std::unique_ptr<Handle>> handles_;
  std::uintptr_t nextHandle_ = 1;
  std::wstring lastError_ = L"Success";
  int initCount_ = 0;
  int exitCount_ = 0;
};

}  // namespace tdxx::sim
