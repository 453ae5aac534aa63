#include "methods/KeypadDriveFinder.h"

#include <optional>
#include <string_view>
#include <vector>

#include "methods/DriveSystem.h"
#include "methods/MountTable.h"

namespace tdxx {
namespace {

constexpr std::string_view kKeypadDriveLabel = "TASTERDECK";

std::string LastComponent(std::string_view path) {
  while (!path.empty() && path.back() == '/')
    path.remove_suffix(1);
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ParentFolder(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
}

// True when the disk's device path, up to its "block" folder, passes through a USB or MMC
// bus: usbN root hubs, mmc_host and mmcN controllers. Many USB drives report removable 0.
bool SitsOnRemovableBus(std::string_view diskPath) {
  std::size_t pos = 0;
  while (pos <= diskPath.size()) {
    std::size_t end = diskPath.find('/', pos);
    if (end == std::string_view::npos)
      end = diskPath.size();
    const std::string_view component = diskPath.substr(pos, end - pos);
    if (component == "block")
      return false;
    if (component.starts_with("usb") || component.starts_with("mmc"))
      return true;
    pos = end + 1;
  }
  return false;
}

bool IsRemovableDisk(DriveSystem& system, const std::string& devicePath) {
  // A partition's folder sits inside its disk's folder and carries a "partition" attribute.
  const std::string disk =
      system.HasSysfsEntry(devicePath, "partition") ? ParentFolder(devicePath) : devicePath;
  if (system.ReadSysfsAttribute(disk, "removable") == "1")
    return true;
  return SitsOnRemovableBus(disk);
}

// The volume label of the mounted device: what udev's database recorded for it, else udev's
// by-label link that points at it, else what the filesystem says of itself. The database comes
// first because udev keeps only one by-label link per label: of two drives labelled alike, only
// one has the link, and FAT, the keypad's own filesystem, cannot tell its label itself.
std::optional<std::string> VolumeLabel(DriveSystem& system, const MountEntry& mount,
                                       const std::string& kernelName,
                                       std::optional<std::vector<LabelLink>>& links) {
  if (const std::optional<std::string> encoded =
          system.ReadUdevProperty(mount.major, mount.minor, "ID_FS_LABEL_ENC"))
    return DecodeHexEscapes(*encoded);
  if (!links)
    links = system.ListLabelLinks();
  for (const LabelLink& link : *links) {
    if (LastComponent(link.target) == kernelName)
      return DecodeHexEscapes(link.name);
  }
  return system.ReadFilesystemLabel(mount.mountPoint);
}

}  // namespace

KeypadDriveFinder::KeypadDriveFinder(DriveSystem& system) : system_(system), mounter_(udisks_) {}

KeypadDriveFinder::KeypadDriveFinder(DriveSystem& system, MountService& mounter)
    : system_(system), mounter_(mounter) {}

bool KeypadDriveFinder::FindKeypadDrive() {
  driveLetter_.clear();
  mountFailure_ = DriveMountFailure{};
  std::set<std::string> mountedDevices;
  bool tableRead = false;
  if (FindMountedDrive(mountedDevices, tableRead))
    return true;
  if (!tableRead)
    return false;  // without the table nothing tells whether the drive is mounted

  const std::string device = FindUnmountedDrive(mountedDevices);
  if (device.empty())
    return false;
  std::string error;
  if (!mounter_.Mount(device, error)) {
    mountFailure_ = DriveMountFailure{device, error.empty() ? "the mount failed" : error};
    return false;
  }
  mountedDevices.clear();
  if (FindMountedDrive(mountedDevices, tableRead))
    return true;
  mountFailure_ =
      DriveMountFailure{device, "it was mounted but does not show among the mounted drives"};
  return false;
}

bool KeypadDriveFinder::FindMountedDrive(std::set<std::string>& mountedDevices, bool& tableRead) {
  const std::optional<std::string> table = system_.ReadMountTable();
  tableRead = table.has_value();
  if (!table)
    return false;

  std::optional<std::vector<LabelLink>> links;  // read once, when the first candidate needs it
  for (const MountEntry& mount : ParseMountInfo(*table)) {
    const std::optional<std::string> device = system_.ResolveBlockDevice(mount.major, mount.minor);
    if (device)
      mountedDevices.insert(LastComponent(*device));
    // A bind mount of a folder inside the drive is not the drive's root.
    if (mount.root != "/")
      continue;
    if (!device || !IsRemovableDisk(system_, *device))
      continue;
    if (VolumeLabel(system_, mount, LastComponent(*device), links) != kKeypadDriveLabel)
      continue;
    driveLetter_ = mount.mountPoint;
    if (driveLetter_.empty() || driveLetter_.back() != '/')
      driveLetter_.push_back('/');
    return true;
  }
  return false;
}

std::string KeypadDriveFinder::FindUnmountedDrive(const std::set<std::string>& mountedDevices) {
  for (const LabelLink& link : system_.ListLabelLinks()) {
    if (DecodeHexEscapes(link.name) != kKeypadDriveLabel)
      continue;
    const std::string kernelName = LastComponent(link.target);
    // Mounted somewhere, only not as a whole drive the search accepts: not ours to mount.
    if (mountedDevices.contains(kernelName))
      continue;
    const std::optional<std::string> device = system_.ResolveBlockDeviceByName(kernelName);
    if (!device || !IsRemovableDisk(system_, *device))
      continue;
    return "/dev/" + kernelName;
  }
  return {};
}

}  // namespace tdxx
