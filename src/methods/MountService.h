#pragma once

#include <string>
#include <utility>

namespace tdxx {

// Mounts a block device the way the desktop's file managers do, in the user's own session.
class MountService {
 public:
  virtual ~MountService() = default;
  // Mounts the device (such as /dev/sdb1). False, with the reason in `error`, when it is not
  // mounted afterwards.
  virtual bool Mount(const std::string& device, std::string& error) = 0;
};

// Mounts through udisks2: runs "udisksctl mount -b DEVICE --no-user-interaction" without a
// shell and with its output captured; udisks picks the mount point (under /media or /run/media).
class UdisksMountService final : public MountService {
 public:
  explicit UdisksMountService(std::string program = "udisksctl") : program_(std::move(program)) {}
  bool Mount(const std::string& device, std::string& error) override;

 private:
  std::string program_;
};

}  // namespace tdxx
