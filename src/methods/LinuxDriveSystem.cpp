#include "methods/LinuxDriveSystem.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <utility>

namespace tdxx {
namespace fs = std::filesystem;

LinuxDriveSystem::LinuxDriveSystem(std::string mountInfoPath, std::string sysfsRoot,
                                   std::string byLabelFolder, std::string udevDataFolder)
    : mountInfoPath_(std::move(mountInfoPath)),
      sysfsRoot_(std::move(sysfsRoot)),
      byLabelFolder_(std::move(byLabelFolder)),
      udevDataFolder_(std::move(udevDataFolder)) {}

std::optional<std::string> LinuxDriveSystem::ReadMountTable() {
  // Files under /proc report a size of 0, so read to the end rather than by size.
  std::ifstream in(mountInfoPath_, std::ios::binary);
  if (!in)
    return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad())
    return std::nullopt;
  return text.str();
}

namespace {

// The device folder that a sysfs link leads to, relative to the sysfs root.
std::optional<std::string> ResolveSysfsLink(const std::string& sysfsRoot, const fs::path& link) {
  std::error_code ec;
  const fs::path root = fs::canonical(sysfsRoot, ec);
  if (ec)
    return std::nullopt;
  const fs::path device = fs::canonical(link, ec);
  if (ec)
    return std::nullopt;
  // Only paths inside the sysfs root are answered, relative to it, so that the caller looks at
  // the device's own path and not at where the tree happens to live.
  const fs::path relative = device.lexically_relative(root);
  if (relative.empty() || *relative.begin() == "..")
    return std::nullopt;
  return relative.generic_string();
}

}  // namespace

std::optional<std::string> LinuxDriveSystem::ResolveBlockDevice(unsigned major, unsigned minor) {
  return ResolveSysfsLink(sysfsRoot_, fs::path(sysfsRoot_) / "dev" / "block" /
                                          (std::to_string(major) + ":" + std::to_string(minor)));
}

std::optional<std::string> LinuxDriveSystem::ResolveBlockDeviceByName(
    const std::string& kernelName) {
  // A name with a slash or a dot-dot would leave the class folder.
  if (kernelName.empty() || kernelName == "." || kernelName == ".." ||
      kernelName.find('/') != std::string::npos)
    return std::nullopt;
  return ResolveSysfsLink(sysfsRoot_, fs::path(sysfsRoot_) / "class" / "block" / kernelName);
}

bool LinuxDriveSystem::HasSysfsEntry(const std::string& devicePath, const std::string& name) {
  std::error_code ec;
  return fs::exists(fs::path(sysfsRoot_) / devicePath / name, ec);
}

std::optional<std::string> LinuxDriveSystem::ReadSysfsAttribute(const std::string& devicePath,
                                                                const std::string& name) {
  std::ifstream in(fs::path(sysfsRoot_) / devicePath / name);
  if (!in)
    return std::nullopt;
  std::string line;
  if (!std::getline(in, line))
    return std::nullopt;
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return line;
}

std::vector<LabelLink> LinuxDriveSystem::ListLabelLinks() {
  std::vector<LabelLink> links;
  std::error_code ec;
  fs::directory_iterator it(byLabelFolder_, ec);
  if (ec)
    return links;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec)
      break;
    if (!it->is_symlink(ec) || ec)
      continue;
    const fs::path target = fs::read_symlink(it->path(), ec);
    if (ec)
      continue;
    links.push_back(LabelLink{it->path().filename().string(), target.string()});
  }
  // Directory order is arbitrary; a fixed order keeps the finder's answer repeatable.
  std::sort(links.begin(), links.end(),
            [](const LabelLink& a, const LabelLink& b) { return a.name < b.name; });
  return links;
}

std::optional<std::string> LinuxDriveSystem::ReadUdevProperty(unsigned major, unsigned minor,
                                                              const std::string& name) {
  // Appended piece by piece: GCC 12's -Wrestrict misreads chained operator+ on strings at -O2.
  std::string device = "b";
  device.append(std::to_string(major)).append(1, ':').append(std::to_string(minor));
  std::ifstream in(fs::path(udevDataFolder_) / device);
  if (!in)
    return std::nullopt;
  std::string prefix = "E:";
  prefix.append(name).append(1, '=');
  std::string line;
  while (std::getline(in, line)) {
    if (line.starts_with(prefix))
      return line.substr(prefix.size());
  }
  return std::nullopt;
}

std::optional<std::string> LinuxDriveSystem::ReadFilesystemLabel(const std::string& mountPoint) {
  const int fd = ::open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return std::nullopt;
  char label[FSLABEL_MAX + 1] = {};
  const int result = ::ioctl(fd, FS_IOC_GETFSLABEL, label);
  ::close(fd);
  if (result != 0)
    return std::nullopt;
  label[FSLABEL_MAX] = 0;
  return std::string(label);
}

}  // namespace tdxx
