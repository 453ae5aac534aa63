#include "sim/SimHidApi.h"

namespace tdxx::sim {

std::unique_ptr<HidApi> SimHidBinder::Bind(std::string& error) {
  ++binds_;
  if (!failure_.empty()) {
    error = failure_;
    return nullptr;
  }
  return std::make_unique<SimHidApi>(bus_);
}

}  // namespace tdxx::sim
