// A stand-in for libhidapi-hidraw.so.0 with hidapi's C entry points, answered by simulated
// devices. TDXX_STANDIN_DEVICES names them (comma-separated kinds, as for --simulate). The one
// place with process-wide state: a C library's entry points have nowhere else to keep it.
#include <hidapi/hidapi.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "sim/SimHidApi.h"
#include "sim/Simulation.h"

namespace {

struct StandIn {
  StandIn() {
    std::vector<std::string> kinds;
    const char* list = std::getenv("TDXX_STANDIN_DEVICES");
    std::stringstream stream(list != nullptr ? list : "");
    for (std::string kind; std::getline(stream, kind, ',');) {
      if (!kind.empty())
        kinds.push_back(kind);
    }
    std::string error;
    simulation = tdxx::sim::Simulation::Create(kinds, clock, error);
    if (simulation)
      api = std::make_unique<tdxx::sim::SimHidApi>(simulation->bus());
  }
  tdxx::SystemClock clock;
  std::unique_ptr<tdxx::sim::Simulation> simulation;
  std::unique_ptr<tdxx::sim::SimHidApi> api;
};

tdxx::HidApi* Api() {
  static StandIn standIn;
  return standIn.api.get();
}

}  // namespace

int hid_init(void) {
  return Api() != nullptr ? Api()->init() : -1;
}
int hid_exit(void) {
  return Api() != nullptr ? Api()->exit() : 0;
}

struct hid_device_info* hid_enumerate(unsigned short vendor_id, unsigned short product_id) {
  return Api() != nullptr ? Api()->enumerate(vendor_id, product_id) : nullptr;
}

void hid_free_enumeration(struct hid_device_info* devs) {
  if (Api() != nullptr)
    Api()->free_enumeration(devs);
}

hid_device* hid_open_path(const char* path) {
  return Api() != nullptr ? Api()->open_path(path) : nullptr;
}

void hid_close(hid_device* dev) {
  if (Api() != nullptr)
    Api()->close(dev);
}

int hid_send_feature_report(hid_device* dev, const unsigned char* data, size_t length) {
  return Api() != nullptr ? Api()->send_feature_report(dev, data, length) : -1;
}

int hid_get_feature_report(hid_device* dev, unsigned char* data, size_t length) {
  return Api() != nullptr ? Api()->get_feature_report(dev, data, length) : -1;
}

int hid_write(hid_device* dev, const unsigned char* data, size_t length) {
  return Api() != nullptr ? Api()->write(dev, data, length) : -1;
}

int hid_read_timeout(hid_device* dev, unsigned char* data, size_t length, int milliseconds) {
  return Api() != nullptr ? Api()->read_timeout(dev, data, length, milliseconds) : -1;
}

struct hid_device_info* hid_get_device_info(hid_device* dev) {
  return Api() != nullptr ? Api()->get_device_info(dev) : nullptr;
}

const char* hid_version_str(void) {
  return Api() != nullptr ? Api()->version_str() : "0.13.0";
}

const wchar_t* hid_error(hid_device* dev) {
  return Api() != nullptr ? Api()->error(dev) : L"TDXX_STANDIN_DEVICES names an unknown kind";
}
