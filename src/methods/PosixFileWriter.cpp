#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "methods/FileWriter.h"

namespace tdxx {

int PosixFileWriter::OpenForReading(const std::string& path, bool fromDevice, int& fd) {
  fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return errno;
  // The pages were synced before; dropping them makes the next reads go to the device.
  if (fromDevice)
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  return 0;
}

int PosixFileWriter::Read(int fd, std::uint8_t* data, std::size_t size, std::size_t& got) {
  got = 0;
  for (;;) {
    const ssize_t n = ::read(fd, data, size);
    if (n >= 0) {
      got = static_cast<std::size_t>(n);
      return 0;
    }
    if (errno != EINTR)
      return errno;
  }
}

int PosixFileWriter::Create(const std::string& path, int& fd) {
  fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  return fd < 0 ? errno : 0;
}

int PosixFileWriter::Write(int fd, const std::uint8_t* data, std::size_t size,
                           std::size_t& written) {
  written = 0;
  for (;;) {
    const ssize_t n = ::write(fd, data, size);
    if (n > 0) {
      written = static_cast<std::size_t>(n);
      return 0;
    }
    if (n < 0 && errno == EINTR)
      continue;
    // A write of nothing into a file that wants bytes means the device took none.
    return n == 0 ? ENOSPC : errno;
  }
}

int PosixFileWriter::Sync(int fd) {
  return ::fsync(fd) != 0 ? errno : 0;
}

int PosixFileWriter::Close(int fd) {
  return ::close(fd) != 0 ? errno : 0;
}

int PosixFileWriter::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) != 0 ? errno : 0;
}

int PosixFileWriter::Unlink(const std::string& path) {
  return ::unlink(path.c_str()) != 0 ? errno : 0;
}

int PosixFileWriter::SyncFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return errno;
  const int result = ::fsync(fd) != 0 ? errno : 0;
  ::close(fd);
  // Some filesystems cannot sync a folder on its own; their entries are synced with the file.
  return result == EINVAL ? 0 : result;
}

}  // namespace tdxx
