#pragma once

#include <string>
#include <utility>

#include "hid/HidApi.h"

namespace tdxx {

// Binds the system's hidapi library at run time: dlopen("libhidapi-hidraw.so.0") by soname
// alone, so the loader's normal search (LD_LIBRARY_PATH included) applies. Binding fails when
// any of the entry points the loader uses is missing.
// The error text is dlerror()'s text, or names the missing entry point.
class DlopenHidBinder final : public HidLibraryBinder {
 public:
  static constexpr const char* kLibraryName = "libhidapi-hidraw.so.0";

  DlopenHidBinder() = default;
  // Binds another library with the same entry points (tests bind broken or absent ones).
  explicit DlopenHidBinder(std::string libraryName) : libraryName_(std::move(libraryName)) {}

  std::unique_ptr<HidApi> Bind(std::string& error) override;

 private:
  std::string libraryName_ = kLibraryName;
};

}  // namespace tdxx
