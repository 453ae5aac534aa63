#pragma once

#include <string>

namespace tdxx {

// Finds the keypad's own removable drive (volume label TASTERDECK).
class KeypadDriveLocator {
 public:
  virtual ~KeypadDriveLocator() = default;
  // True when the drive is mounted; its mount point (ending in '/') is then in driveLetter().
  virtual bool FindKeypadDrive() = 0;
  // Mount point of the drive found by the last FindKeypadDrive, empty when none was found.
  virtual const std::string& driveLetter() const = 0;
};

}  // namespace tdxx
