#pragma once

#include <set>
#include <string>

#include "methods/MountService.h"
#include "protocol/KeypadDriveLocator.h"

namespace tdxx {

class DriveSystem;  // the mount table, sysfs and labels; see DriveSystem.h

// Finds the keypad's removable drive by its volume label TASTERDECK: the first mounted
// filesystem, in mount-table order, on a removable disk (removable attribute 1, or a disk on a
// USB or MMC bus) whose label is exactly that, case included. driveLetter() is its mount point
// with a trailing '/', which stands for the drive's root; every search rewrites it.
//
// A removable drive on Linux has a mount point only when an automounter or the user mounted it.
// When no mounted drive matches but udev's by-label links name an attached, unmounted partition
// of a removable disk labelled TASTERDECK, the finder mounts it through the mount service, as a
// file manager would, and searches again; a failed mount is told by mountFailure().
class KeypadDriveFinder final : public KeypadDriveLocator {
 public:
  // Mounts through udisks2.
  explicit KeypadDriveFinder(DriveSystem& system);
  KeypadDriveFinder(DriveSystem& system, MountService& mounter);
  KeypadDriveFinder(const KeypadDriveFinder&) = delete;
  KeypadDriveFinder& operator=(const KeypadDriveFinder&) = delete;

  bool FindKeypadDrive() override;
  const std::string& driveLetter() const override { return driveLetter_; }
  DriveMountFailure mountFailure() const override { return mountFailure_; }

 private:
  // Searches the mounted filesystems; collects the kernel names of every mounted device and
  // tells whether the mount table could be read.
  bool FindMountedDrive(std::set<std::string>& mountedDevices, bool& tableRead);
  // The device node of an attached, unmounted keypad partition; empty when there is none.
  std::string FindUnmountedDrive(const std::set<std::string>& mountedDevices);

  UdisksMountService udisks_;
  DriveSystem& system_;
  MountService& mounter_;
  std::string driveLetter_;
  DriveMountFailure mountFailure_;
};

}  // namespace tdxx
