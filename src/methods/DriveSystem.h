#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tdxx {

// A link of the by-label folder: its name as listed (udev's \xNN escapes still in it) and its
// target as stored in the link.
struct LabelLink {
  std::string name;
  std::string target;
};

// What the drive finder reads of the system: the mount table, the block devices in sysfs, udev's
// device database and label links, and a filesystem's own label. LinuxDriveSystem reads the real
// system; tests point it at made-up trees.
class DriveSystem {
 public:
  virtual ~DriveSystem() = default;

  // The mount table in /proc/self/mountinfo form; nothing when it cannot be read.
  virtual std::optional<std::string> ReadMountTable() = 0;

  // The sysfs device folder of block device MAJOR:MINOR with every link resolved, relative to
  // the sysfs root (for example "devices/pci0000:00/.../block/sdb/sdb1"); nothing when the
  // device is unknown.
  virtual std::optional<std::string> ResolveBlockDevice(unsigned major, unsigned minor) = 0;

  // The sysfs device folder of the block device with that kernel name (such as "sdb1"), as
  // ResolveBlockDevice gives it; nothing when the device is unknown.
  virtual std::optional<std::string> ResolveBlockDeviceByName(const std::string& kernelName) = 0;

  // True when the sysfs folder (relative to the sysfs root) holds an entry of that name.
  virtual bool HasSysfsEntry(const std::string& devicePath, const std::string& name) = 0;

  // The first line of an attribute file in a sysfs folder (relative to the sysfs root), without
  // its line end; nothing when it cannot be read.
  virtual std::optional<std::string> ReadSysfsAttribute(const std::string& devicePath,
                                                        const std::string& name) = 0;

  // Every link of the by-label folder; empty when the folder is missing.
  virtual std::vector<LabelLink> ListLabelLinks() = 0;

  // A property that udev recorded for block device MAJOR:MINOR in its database (such as
  // ID_FS_LABEL_ENC, the label with udev's \xNN escapes); nothing when the device or the
  // property is not recorded.
  virtual std::optional<std::string> ReadUdevProperty(unsigned major, unsigned minor,
                                                      const std::string& name) = 0;

  // The label the filesystem mounted at `mountPoint` reports of itself; nothing when the
  // filesystem cannot tell.
  virtual std::optional<std::string> ReadFilesystemLabel(const std::string& mountPoint) = 0;
};

}  // namespace tdxx
