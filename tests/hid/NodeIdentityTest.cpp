// Every open a command uses is checked against the device that discovery found on that path,
// through hid_get_device_info, or a fresh enumeration where the library lacks it.
#include <gtest/gtest.h>

#include "SimFixture.h"

namespace tdxx::test {
namespace {

// The simulated library as an older hidapi binds it: no hid_get_device_info.
class WithoutDeviceInfo final : public HidLibraryBinder {
 public:
  explicit WithoutDeviceInfo(HidLibraryBinder& inner) : inner_(inner) {}
  std::unique_ptr<HidApi> Bind(std::string& error) override {
    std::unique_ptr<HidApi> api = inner_.Bind(error);
    return api ? std::make_unique<Api>(std::move(api)) : nullptr;
  }

 private:
  class Api final : public HidApi {
   public:
    explicit Api(std::unique_ptr<HidApi> inner) : inner_(std::move(inner)) {}
    int init() override { return inner_->init(); }
    int exit() override { return inner_->exit(); }
    hid_device_info* enumerate(unsigned short v, unsigned short p) override {
      return inner_->enumerate(v, p);
    }
    void free_enumeration(hid_device_info* d) override { inner_->free_enumeration(d); }
    hid_device* open_path(const char* path) override { return inner_->open_path(path); }
    void close(hid_device* d) override { inner_->close(d); }
    int send_feature_report(hid_device* d, const unsigned char* b, std::size_t n) override {
      return inner_->send_feature_report(d, b, n);
    }
    int get_feature_report(hid_device* d, unsigned char* b, std::size_t n) override {
      return inner_->get_feature_report(d, b, n);
    }
    int write(hid_device* d, const unsigned char* b, std::size_t n) override {
      return inner_->write(d, b, n);
    }
    int read_timeout(hid_device* d, unsigned char* b, std::size_t n, int ms) override {
      return inner_->read_timeout(d, b, n, ms);
    }
    const wchar_t* error(hid_device* d) override { return inner_->error(d); }
    hid_device_info* get_device_info(hid_device*) override { return nullptr; }
    const char* version_str() override { return nullptr; }
    LockResult lock_path(const char* path, std::unique_ptr<InterfaceLock>& lock) override {
      return inner_->lock_path(path, lock);
    }

   private:
    std::unique_ptr<HidApi> inner_;
  };
  HidLibraryBinder& inner_;
};

TEST(NodeIdentity, StreamOpenOfANodeThatBecameAnotherDeviceFails) {
  for (const bool deviceInfo : {true, false}) {
    SimRig rig({"prg-tmode"});
    WithoutDeviceInfo older(rig.simulation->binder());
    HidTransport transport(deviceInfo ? rig.simulation->binder() : older, rig.clock);
    ASSERT_EQ(transport.FindKeypad(false), 9);
    ASSERT_FALSE(transport.OpenStream(ReportMode::T)) << "the same device opens";
    transport.CloseStream();

    rig.device().SetIdentifiers(0x1125, 0x1807);  // a TD-A on the same node now
    EXPECT_TRUE(transport.OpenStream(ReportMode::T)) << "with device info: " << deviceInfo;
    EXPECT_FALSE(transport.hidBound());
    EXPECT_EQ(rig.bus().openHandleCount(), 0);
    EXPECT_TRUE(rig.bus().lockedPaths().empty());
  }
}

}  // namespace
}  // namespace tdxx::test
