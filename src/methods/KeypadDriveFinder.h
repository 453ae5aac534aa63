#pragma once

#include <string>

#include "protocol/KeypadDriveLocator.h"

namespace tdxx {

class DriveSystem;  // the mount table, sysfs and labels; see DriveSystem.h

// Finds the keypad's removable drive by its volume label TASTERDECK: the first mounted
// filesystem, in mount-table order, on a removable disk (removable attribute 1, or a disk on a
// USB or MMC bus) whose label is exactly that, case included. driveLetter() is its mount point
// with a trailing '/', which stands for the drive's root; every search rewrites it.
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
