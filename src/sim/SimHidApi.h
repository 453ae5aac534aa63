#pragma once

#include <memory>
#include <string>

#include "hid/HidApi.h"
#include "sim/SimulatedBus.h"

namespace tdxx::sim {

// hidapi's entry points answered by a simulated bus instead of the hidraw library.
class SimHidApi final : public HidApi {
 public:
  explicit SimHidApi(SimulatedBus& bus) : bus_(bus) {}
  int init() override { return bus_.HidInit(); }
  int exit() override { return bus_.HidExit(); }
  hid_device_info* enumerate(unsigned short vendorId, unsigned short productId) override {
    return bus_.HidEnumerate(vendorId, productId);
  }
  void free_enumeration(hid_device_info* devices) override { bus_.HidFreeEnumeration(devices); }
  hid_device* open_path(const char* path) override { return bus_.HidOpenPath(path); }
  void close(hid_device* device) override { bus_.HidClose(device); }
  int send_feature_report(hid_device* device, const unsigned char* data,
                          std::size_t length) override {
    return bus_.HidSendFeatureReport(device, data, length);
  }
  int get_feature_report(hid_device* device, unsigned char* data, std::size_t length) override {
    return bus_.HidGetFeatureReport(device, data, length);
  }
  int write(hid_device* device, const unsigned char* data, std::size_t length) override {
    return bus_.HidWrite(device, data, length);
  }
  int read_timeout(hid_device* device, unsigned char* data, std::size_t length,
                   int milliseconds) override {
    return bus_.HidReadTimeout(device, data, length, milliseconds);
  }
  const wchar_t* error(hid_device* device) override { return bus_.HidError(device); }
  hid_device_info* get_device_info(hid_device* device) override {
    return bus_.HidGetDeviceInfo(device);
  }
  const char* version_str() override { return "0.13.1"; }
  LockResult lock_path(const char* path, std::unique_ptr<InterfaceLock>& lock) override {
    return bus_.HidLockPath(path, lock);
  }

 private:
  SimulatedBus& bus_;
};

// Binds a SimHidApi over the bus. Counts its binds; can be told to fail like a missing library.
class SimHidBinder final : public HidLibraryBinder {
 public:
  explicit SimHidBinder(SimulatedBus& bus) : bus_(bus) {}
  std::unique_ptr<HidApi> Bind(std::string& error) override;

  // Non-empty: every Bind fails with this error text.
  void FailBinding(std::string error) { failure_ = std::move(error); }
  int bindCount() const { return binds_; }

 private:
  SimulatedBus& bus_;
  std::string failure_;
  int binds_ = 0;
};

}  // namespace tdxx::sim
