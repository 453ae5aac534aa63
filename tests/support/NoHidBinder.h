#pragma once

#include "hid/HidApi.h"

namespace tdxx::test {

// A HID library that is never there.
class NoHidBinder final : public HidLibraryBinder {
 public:
  std::unique_ptr<HidApi> Bind(std::string& error) override {
    error = "libhidapi-hidraw.so.0: cannot open shared object file: No such file or directory";
    return nullptr;
  }
};

}  // namespace tdxx::test
