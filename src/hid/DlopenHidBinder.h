#pragma once

#include "hid/HidApi.h"

namespace tdxx {

// Binds the system's hidapi library at run time: dlopen("libhidapi-hidraw.so.0") by soname
// alone, so the loader's normal search (LD_LIBRARY_PATH included) applies. Binding fails when
// any of the entry points the loader uses is missing.
class DlopenHidBinder final : public HidLibraryBinder {
 public:
  std::unique_ptr<HidApi> Bind(std::string& error) override;
};

}  // namespace tdxx
