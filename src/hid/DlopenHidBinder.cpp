#include "hid/DlopenHidBinder.h"

#include <dlfcn.h>

#include "hid/DeviceNodeLock.h"

namespace tdxx {

namespace {

// hidapi's entry points as resolved from the loaded library.
struct HidEntryPoints {
  decltype(&::hid_init) init = nullptr;
  decltype(&::hid_exit) exit = nullptr;
  decltype(&::hid_enumerate) enumerate = nullptr;
  decltype(&::hid_free_enumeration) free_enumeration = nullptr;
  decltype(&::hid_open_path) open_path = nullptr;
  decltype(&::hid_close) close = nullptr;
  decltype(&::hid_send_feature_report) send_feature_report = nullptr;
  decltype(&::hid_get_feature_report) get_feature_report = nullptr;
  decltype(&::hid_write) write = nullptr;
  decltype(&::hid_read_timeout) read_timeout = nullptr;
  decltype(&::hid_error) error = nullptr;
  // Optional: older libraries lack them.
  decltype(&::hid_get_device_info) get_device_info = nullptr;
  decltype(&::hid_version_str) version_str = nullptr;
};

// The library stays loaded as long as this object lives.
class DlopenHidApi final : public HidApi {
 public:
  DlopenHidApi(void* library, const HidEntryPoints& entry) : library_(library), entry_(entry) {}
  ~DlopenHidApi() override { dlclose(library_); }
  DlopenHidApi(const DlopenHidApi&) = delete;
  DlopenHidApi& operator=(const DlopenHidApi&) = delete;

  int init() override { return entry_.init(); }
  int exit() override { return entry_.exit(); }
  hid_device_info* enumerate(unsigned short vendorId, unsigned short productId) override {
    return entry_.enumerate(vendorId, productId);
  }
  void free_enumeration(hid_device_info* devices) override { entry_.free_enumeration(devices); }
  hid_device* open_path(const char* path) override { return entry_.open_path(path); }
  void close(hid_device* device) override { entry_.close(device); }
  int send_feature_report(hid_device* device, const unsigned char* data,
                          std::size_t length) override {
    return entry_.send_feature_report(device, data, length);
  }
  int get_feature_report(hid_device* device, unsigned char* data, std::size_t length) override {
    return entry_.get_feature_report(device, data, length);
  }
  int write(hid_device* device, const unsigned char* data, std::size_t length) override {
    return entry_.write(device, data, length);
  }
  int read_timeout(hid_device* device, unsigned char* data, std::size_t length,
                   int milliseconds) override {
    return entry_.read_timeout(device, data, length, milliseconds);
  }
  const wchar_t* error(hid_device* device) override { return entry_.error(device); }
  hid_device_info* get_device_info(hid_device* device) override {
    return entry_.get_device_info != nullptr ? entry_.get_device_info(device) : nullptr;
  }
  const char* version_str() override {
    return entry_.version_str != nullptr ? entry_.version_str() : nullptr;
  }
  LockResult lock_path(const char* path, std::unique_ptr<InterfaceLock>& lock) override {
    return LockDeviceNode(path, lock);
  }

 private:
  void* const library_;
  const HidEntryPoints entry_;
};

template <typename Function>
bool Resolve(void* library, const char* name, Function& out, std::string& missing) {
  out = reinterpret_cast<Function>(dlsym(library, name));
  if (out == nullptr && missing.empty())
    missing = name;
  return out != nullptr;
}

}  // namespace

std::unique_ptr<HidApi> DlopenHidBinder::Bind(std::string& error) {
  dlerror();
  void* library = dlopen(libraryName_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* text = dlerror();
    error = text != nullptr ? text : libraryName_ + ": cannot be loaded";
    return nullptr;
  }
  HidEntryPoints entry;
  std::string missing;
  Resolve(library, "hid_init", entry.init, missing);
  Resolve(library, "hid_exit", entry.exit, missing);
  Resolve(library, "hid_enumerate", entry.enumerate, missing);
  Resolve(library, "hid_free_enumeration", entry.free_enumeration, missing);
  Resolve(library, "hid_open_path", entry.open_path, missing);
  Resolve(library, "hid_close", entry.close, missing);
  Resolve(library, "hid_send_feature_report", entry.send_feature_report, missing);
  Resolve(library, "hid_get_feature_report", entry.get_feature_report, missing);
  Resolve(library, "hid_write", entry.write, missing);
  Resolve(library, "hid_read_timeout", entry.read_timeout, missing);
  Resolve(library, "hid_error", entry.error, missing);
  std::string optional;
  Resolve(library, "hid_get_device_info", entry.get_device_info, optional);
  Resolve(library, "hid_version_str", entry.version_str, optional);
  if (!missing.empty()) {
    error = libraryName_ + ": missing entry point " + missing;
    dlclose(library);
    return nullptr;
  }
  return std::make_unique<DlopenHidApi>(library, entry);
}

}  // namespace tdxx
