#pragma once

#include <string>

#include "protocol/KeypadDriveLocator.h"

namespace tdxx {

class DriveSystem;  // the mount table, sysfs and labels; see DriveSystem.h

// Finds the keypad's removable drive by its volume label TASTERDECK: the first mounted
// filesystem, in mount-table order, on a removable disk whose label is exactly that.
class KeypadDriveFinder final : public KeypadDriveLocator {
 public:
  explicit KeypadDriveFinder(DriveSystem& system);
  bool FindKeypadDrive() override;
  const std::string& driveLetter() const override { return driveLetter_; }

 private:
  DriveSystem& system_;
  std::string driveLetter_;
};

}  // namespace tdxx
