#pragma once

#include <condition_variable>
#include <mutex>

#include "hid/HidApi.h"

namespace tdxx {

// One open device, shared by the user-interface thread and the pump threads. hidapi is not safe
// for two threads calling into one device at once, so every call on it goes through a
// DeviceCall. The reader holds the device only for short read slices and steps back whenever
// someone else is waiting, so a write never waits longer than one slice.
class DeviceLink {
 public:
  DeviceLink(HidApi& api, hid_device* device) : api_(api), device_(device) {}
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  HidApi& api() { return api_; }
  hid_device* device() { return device_; }

 private:
  friend class DeviceCall;
  void Acquire(bool yieldToOthers);
  void Release();

  HidApi& api_;
  hid_device* const device_;
  std::mutex mutex_;
  std::condition_variable free_;
  bool busy_ = false;
  int waiting_ = 0;  // non-yielding callers waiting for the device
};

// Holds the device for one call. The reader passes yieldToOthers, everybody else does not.
class DeviceCall {
 public:
  explicit DeviceCall(DeviceLink& link, bool yieldToOthers = false) : link_(link) {
    link_.Acquire(yieldToOthers);
  }
  ~DeviceCall() { link_.Release(); }
  DeviceCall(const DeviceCall&) = delete;
  DeviceCall& operator=(const DeviceCall&) = delete;

 private:
  DeviceLink& link_;
};

}  // namespace tdxx
