#include "hid/RecordingHidBinder.h"

#include <cerrno>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <ostream>

namespace tdxx {

namespace {

std::string NarrowWide(const wchar_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text)
    narrow += (*text > 0 && *text < 0x80) ? static_cast<char>(*text) : '?';
  return narrow;
}

const char* LockResultName(LockResult result) {
  switch (result) {
    case LockResult::Locked:
      return "locked";
    case LockResult::HeldElsewhere:
      return "held-elsewhere";
    case LockResult::NotLockable:
      return "not-lockable";
  }
  return "not-lockable";
}

// Milliseconds to the microsecond: a trace must show a gap of 9.8 ms as such.
double FractionalMilliseconds(ClockDuration duration) {
  return static_cast<double>(
             std::chrono::duration_cast<std::chrono::microseconds>(duration).count()) /
         1000.0;
}

nlohmann::json EnumerationJson(const hid_device_info* devices) {
  nlohmann::json list = nlohmann::json::array();
  for (const hid_device_info* info = devices; info != nullptr; info = info->next) {
    list.push_back({{"path", info->path != nullptr ? info->path : ""},
                    {"vid", info->vendor_id},
                    {"pid", info->product_id},
                    {"serial", NarrowWide(info->serial_number)},
                    {"release", info->release_number},
                    {"manufacturer", NarrowWide(info->manufacturer_string)},
                    {"product", NarrowWide(info->product_string)},
                    {"usagePage", info->usage_page},
                    {"usage", info->usage},
                    {"interface", info->interface_number}});
  }
  return list;
}

}  // namespace

std::string HexOfBytes(const unsigned char* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(count * 2);
  for (std::size_t i = 0; bytes != nullptr && i < count; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0x0F];
  }
  return hex;
}

class RecordingHidBinder::Recorder {
 public:
  Recorder(Clock& clock, std::ostream& out) : clock_(clock), out_(out), start_(clock.Now()) {}

  ClockDuration Now() const { return clock_.Now(); }

  // Writes one line; `began` is when the call started.
  void Write(nlohmann::json line, ClockDuration began) {
    const ClockDuration ended = clock_.Now();
    line["t"] = FractionalMilliseconds(began - start_);
    line["ms"] = FractionalMilliseconds(ended - began);
    const std::string text = line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::lock_guard lock(mutex_);
    out_ << text << '\n';
    out_.flush();
  }

  // The number a device got when it was opened; 0 for a handle not opened through us.
  int DeviceNumber(hid_device* device) {
    std::lock_guard lock(mutex_);
    const auto found = numbers_.find(device);
    return found == numbers_.end() ? 0 : found->second;
  }
  int NumberOpened(hid_device* device) {
    std::lock_guard lock(mutex_);
    numbers_[device] = ++opened_;
    return opened_;
  }
  void Forget(hid_device* device) {
    std::lock_guard lock(mutex_);
    numbers_.erase(device);
  }

 private:
  Clock& clock_;
  std::ostream& out_;
  const ClockDuration start_;
  std::mutex mutex_;
  std::map<hid_device*, int> numbers_;
  int opened_ = 0;
};

namespace {

using Recorder = RecordingHidBinder::Recorder;

class RecordingHidApi final : public HidApi {
 public:
  RecordingHidApi(std::unique_ptr<HidApi> inner, std::shared_ptr<Recorder> recorder)
      : inner_(std::move(inner)), recorder_(std::move(recorder)) {}

  int init() override {
    const ClockDuration began = recorder_->Now();
    const int ret = inner_->init();
    recorder_->Write({{"fn", "hid_init"}, {"ret", ret}}, began);
    return ret;
  }
  int exit() override {
    const ClockDuration began = recorder_->Now();
    const int ret = inner_->exit();
    recorder_->Write({{"fn", "hid_exit"}, {"ret", ret}}, began);
    return ret;
  }
  hid_device_info* enumerate(unsigned short vendorId, unsigned short productId) override {
    const ClockDuration began = recorder_->Now();
    hid_device_info* devices = inner_->enumerate(vendorId, productId);
    recorder_->Write({{"fn", "hid_enumerate"},
                      {"vid", vendorId},
                      {"pid", productId},
                      {"devices", EnumerationJson(devices)}},
                     began);
    return devices;
  }
  void free_enumeration(hid_device_info* devices) override {
    const ClockDuration began = recorder_->Now();
    inner_->free_enumeration(devices);
    recorder_->Write({{"fn", "hid_free_enumeration"}}, began);
  }
  hid_device* open_path(const char* path) override {
    const ClockDuration began = recorder_->Now();
    errno = 0;
    hid_device* device = inner_->open_path(path);
    const int openErrno = errno;
    nlohmann::json line{{"fn", "hid_open_path"}, {"path", path != nullptr ? path : ""}};
    if (device != nullptr) {
      line["ret"] = recorder_->NumberOpened(device);
    } else {
      line["ret"] = -1;
      line["errno"] = openErrno;
    }
    recorder_->Write(std::move(line), began);
    errno = openErrno;  // the caller reads it after a failed open
    return device;
  }
  void close(hid_device* device) override {
    const ClockDuration began = recorder_->Now();
    const int number = recorder_->DeviceNumber(device);
    recorder_->Forget(device);
    inner_->close(device);
    recorder_->Write({{"fn", "hid_close"}, {"device", number}}, began);
  }
  int send_feature_report(hid_device* device, const unsigned char* data,
                          std::size_t length) override {
    const ClockDuration began = recorder_->Now();
    const int ret = inner_->send_feature_report(device, data, length);
    recorder_->Write({{"fn", "hid_send_feature_report"},
                      {"device", recorder_->DeviceNumber(device)},
                      {"out", HexOfBytes(data, length)},
                      {"ret", ret}},
                     began);
    return ret;
  }
  int get_feature_report(hid_device* device, unsigned char* data, std::size_t length) override {
    const ClockDuration began = recorder_->Now();
    // The first byte names the report asked for; the rest is room for the answer.
    const std::string asked = HexOfBytes(data, length > 0 ? 1 : 0);
    const int ret = inner_->get_feature_report(device, data, length);
    recorder_->Write({{"fn", "hid_get_feature_report"},
                      {"device", recorder_->DeviceNumber(device)},
                      {"out", asked},
                      {"length", length},
                      {"in", HexOfBytes(data, ret > 0 ? static_cast<std::size_t>(ret) : 0)},
                      {"ret", ret}},
                     began);
    return ret;
  }
  int write(hid_device* device, const unsigned char* data, std::size_t length) override {
    const ClockDuration began = recorder_->Now();
    const int ret = inner_->write(device, data, length);
    recorder_->Write({{"fn", "hid_write"},
                      {"device", recorder_->DeviceNumber(device)},
                      {"out", HexOfBytes(data, length)},
                      {"ret", ret}},
                     began);
    return ret;
  }
  int read_timeout(hid_device* device, unsigned char* data, std::size_t length,
                   int milliseconds) override {
    const ClockDuration began = recorder_->Now();
    const int ret = inner_->read_timeout(device, data, length, milliseconds);
    recorder_->Write({{"fn", "hid_read_timeout"},
                      {"device", recorder_->DeviceNumber(device)},
                      {"length", length},
                      {"timeout", milliseconds},
                      {"in", HexOfBytes(data, ret > 0 ? static_cast<std::size_t>(ret) : 0)},
                      {"ret", ret}},
                     began);
    return ret;
  }
  const wchar_t* error(hid_device* device) override {
    const ClockDuration began = recorder_->Now();
    const wchar_t* text = inner_->error(device);
    nlohmann::json line{{"fn", "hid_error"}, {"ret", NarrowWide(text)}};
    if (device != nullptr)
      line["device"] = recorder_->DeviceNumber(device);
    recorder_->Write(std::move(line), began);
    return text;
  }
  hid_device_info* get_device_info(hid_device* device) override {
    const ClockDuration began = recorder_->Now();
    hid_device_info* info = inner_->get_device_info(device);
    nlohmann::json line{{"fn", "hid_get_device_info"},
                        {"device", recorder_->DeviceNumber(device)},
                        {"ret", info != nullptr ? 0 : -1}};
    if (info != nullptr)
      line["devices"] = EnumerationJson(info);
    recorder_->Write(std::move(line), began);
    return info;
  }
  const char* version_str() override { return inner_->version_str(); }
  LockResult lock_path(const char* path, std::unique_ptr<InterfaceLock>& lock) override {
    const ClockDuration began = recorder_->Now();
    const LockResult ret = inner_->lock_path(path, lock);
    recorder_->Write(
        {{"fn", "lock_path"}, {"path", path != nullptr ? path : ""}, {"ret", LockResultName(ret)}},
        began);
    return ret;
  }

 private:
  std::unique_ptr<HidApi> inner_;
  std::shared_ptr<Recorder> recorder_;
};

}  // namespace

RecordingHidBinder::RecordingHidBinder(HidLibraryBinder& inner, Clock& clock, std::ostream& out)
    : inner_(inner), recorder_(std::make_shared<Recorder>(clock, out)) {}

RecordingHidBinder::~RecordingHidBinder() = default;

std::unique_ptr<HidApi> RecordingHidBinder::Bind(std::string& error) {
  const ClockDuration began = recorder_->Now();
  std::unique_ptr<HidApi> api = inner_.Bind(error);
  nlohmann::json line{{"fn", "bind"}, {"ret", api ? 0 : -1}};
  if (!api)
    line["error"] = error;
  recorder_->Write(std::move(line), began);
  if (!api)
    return nullptr;
  return std::make_unique<RecordingHidApi>(std::move(api), recorder_);
}

}  // namespace tdxx
