#pragma once

#include <hidapi/hidapi.h>

#include <cstddef>
#include <memory>
#include <string>

namespace tdxx {

// Keeps one interface for this process alone until destroyed: an advisory lock on the interface's
// node that every instance of the loader takes before it opens the device.
class InterfaceLock {
 public:
  virtual ~InterfaceLock() = default;
};

enum class LockResult {
  Locked,         // the lock is ours
  HeldElsewhere,  // another process (or another connection of ours) holds the interface
  NotLockable,    // the node cannot be locked (not there, no permission): open it without
};

// One bound copy of the HID library's entry points. The real one calls into
// libhidapi-hidraw.so.0 loaded with dlopen; the simulated one answers from device models.
// The methods keep hidapi's calling conventions and results exactly (including errno after a
// failed open_path), so the transport above cannot tell the two apart.
class HidApi {
 public:
  virtual ~HidApi() = default;
  virtual int init() = 0;
  virtual int exit() = 0;
  virtual hid_device_info* enumerate(unsigned short vendorId, unsigned short productId) = 0;
  virtual void free_enumeration(hid_device_info* devices) = 0;
  virtual hid_device* open_path(const char* path) = 0;
  virtual void close(hid_device* device) = 0;
  virtual int send_feature_report(hid_device* device, const unsigned char* data,
                                  std::size_t length) = 0;
  virtual int get_feature_report(hid_device* device, unsigned char* data, std::size_t length) = 0;
  virtual int write(hid_device* device, const unsigned char* data, std::size_t length) = 0;
  virtual int read_timeout(hid_device* device, unsigned char* data, std::size_t length,
                           int milliseconds) = 0;
  virtual const wchar_t* error(hid_device* device) = 0;
  // hid_get_device_info (hidapi 0.13 and later): what the open connection is, read from the
  // node actually opened; owned by the connection. Null when the library has no such entry
  // point or the device cannot say (then the caller enumerates instead).
  virtual hid_device_info* get_device_info(hid_device* device) = 0;
  // hid_version_str (hidapi 0.10 and later): the library's version, "0.13.1"; null when the
  // library has no such entry point.
  virtual const char* version_str() = 0;
  // Not part of hidapi: takes the interface's exclusive lock (see InterfaceLock).
  virtual LockResult lock_path(const char* path, std::unique_ptr<InterfaceLock>& lock) = 0;
};

// Binds the HID library: the stand-in for loading the system's HID service at run time.
class HidLibraryBinder {
 public:
  virtual ~HidLibraryBinder() = default;
  // Returns the bound entry points, or null with `error` saying why binding failed.
  virtual std::unique_ptr<HidApi> Bind(std::string& error) = 0;
};

}  // namespace tdxx
