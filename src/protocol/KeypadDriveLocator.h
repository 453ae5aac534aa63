#pragma once

#include <string>

namespace tdxx {

// The keypad's drive was attached but could not be mounted: which device, and why.
struct DriveMountFailure {
  std::string device;  // such as /dev/sdb1; empty when there was no such failure
  std::string reason;
};

// Finds the keypad's own removable drive (volume label TASTERDECK).
class KeypadDriveLocator {
 public:
  virtual ~KeypadDriveLocator() = default;
  // True when the drive is mounted; its mount point (ending in '/') is then in driveLetter().
  virtual bool FindKeypadDrive() = 0;
  // Mount point of the drive found by the last FindKeypadDrive, empty when none was found.
  virtual const std::string& driveLetter() const = 0;
  // Set when the last FindKeypadDrive found the drive attached, not mounted, and failed to mount
  // it; empty otherwise. Locators that never mount leave it empty.
  virtual DriveMountFailure mountFailure() const { return {}; }
};

}  // namespace tdxx
