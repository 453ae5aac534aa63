#pragma once

#include <string>

#include "protocol/KeypadDriveLocator.h"

namespace tdxx::test {

// A keypad drive that is there when `mountPoint` is set.
class FakeDriveLocator final : public KeypadDriveLocator {
 public:
  bool FindKeypadDrive() override {
    ++searches;
    driveLetter_ = mountPoint;
    return !driveLetter_.empty();
  }
  const std::string& driveLetter() const override { return driveLetter_; }
  DriveMountFailure mountFailure() const override {
    return driveLetter_.empty() ? failure : DriveMountFailure{};
  }

  std::string mountPoint;
  // Told when the drive is not there.
  DriveMountFailure failure;
  int searches = 0;

 private:
  std::string driveLetter_;
};

}  // namespace tdxx::test
