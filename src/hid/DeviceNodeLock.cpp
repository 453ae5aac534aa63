#include "hid/DeviceNodeLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tdxx {

namespace {

class NodeLock final : public InterfaceLock {
 public:
  explicit NodeLock(int fd) : fd_(fd) {}
  ~NodeLock() override { ::close(fd_); }  // closing the descriptor releases the lock
  NodeLock(const NodeLock&) = delete;
  NodeLock& operator=(const NodeLock&) = delete;

 private:
  const int fd_;
};

}  // namespace

LockResult LockDeviceNode(const char* path, std::unique_ptr<InterfaceLock>& lock) {
  lock.reset();
  if (path == nullptr)
    return LockResult::NotLockable;
  // Opened for reading only and without blocking: a hidraw node lets every reader in, and the
  // descriptor is only there to carry the lock.
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0)
    return LockResult::NotLockable;
  int result;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? LockResult::HeldElsewhere : LockResult::NotLockable;
  }
  lock = std::make_unique<NodeLock>(fd);
  return LockResult::Locked;
}

}  // namespace tdxx
