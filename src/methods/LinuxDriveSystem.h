#pragma once

#include <string>

#include "methods/DriveSystem.h"

namespace tdxx {

// The drive finder's view of the running Linux system. The four roots can be moved so that
// tests run on temporary trees shaped like the real ones.
class LinuxDriveSystem final : public DriveSystem {
 public:
  explicit LinuxDriveSystem(std::string mountInfoPath = "/proc/self/mountinfo",
                            std::string sysfsRoot = "/sys",
                            std::string byLabelFolder = "/dev/disk/by-label",
                            std::string udevDataFolder = "/run/udev/data");

  std::optional<std::string> ReadMountTable() override;
  std::optional<std::string> ResolveBlockDevice(unsigned major, unsigned minor) override;
  // Resolves <sysfs>/class/block/<name>.
  std::optional<std::string> ResolveBlockDeviceByName(const std::string& kernelName) override;
  bool HasSysfsEntry(const std::string& devicePath, const std::string& name) override;
  std::optional<std::string> ReadSysfsAttribute(const std::string& devicePath,
                                                const std::string& name) override;
  std::vector<LabelLink> ListLabelLinks() override;
  // Reads the "E:NAME=value" lines of the device's file "b<major>:<minor>" in udev's database.
  std::optional<std::string> ReadUdevProperty(unsigned major, unsigned minor,
                                              const std::string& name) override;
  // Asks the filesystem with FS_IOC_GETFSLABEL.
  std::optional<std::string> ReadFilesystemLabel(const std::string& mountPoint) override;

 private:
  std::string mountInfoPath_;
  std::string sysfsRoot_;
  std::string byLabelFolder_;
  std::string udevDataFolder_;
};

}  // namespace tdxx
