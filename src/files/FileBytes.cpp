#include "files/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <system_error>

namespace tdxx {
namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Close(); }

  int get() const { return fd_; }
  // Closes now; false when the close reported an error (a delayed write error, for example).
  bool Close() {
    if (fd_ < 0) {
      return true;
    }
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The file a write to `path` should replace: the target of a symbolic link, else `path` itself.
std::string ResolveWriteTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
    return path;
  }
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) {
    return path;
  }
  return resolved;
}

}  // namespace

int ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    return errno;
  }
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) {
    return errno;
  }
  if (S_ISDIR(info.st_mode)) {
    return EISDIR;
  }
  char buffer[16384];
  for (;;) {
    const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      const int error = errno;
      bytes.clear();
      return error;
    }
    if (count == 0) {
      return 0;
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  return ReplaceFileAtomicallyOrError(path, bytes) == 0;
}

int ReplaceFileAtomicallyOrError(const std::string& path, std::string_view bytes) {
  const std::string target = ResolveWriteTarget(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) {
    return S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
  }

  const std::size_t slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  // Short enough to stay within the file-name limit whatever the settings file is called.
  const std::string base = target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200);

  std::random_device random;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = folder + "." + base + ".tmp" + std::to_string(random());
    // 0666 lets the umask decide a new file's permissions, as for any other new file.
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) {
      return errno;
    }
  }
  if (fd < 0) {
    return EEXIST;
  }
  FileDescriptor file(fd);
  if (exists) {
    (void)::fchmod(file.get(), existing.st_mode & 07777);
  } else {
    // In a folder shared by a group (group-writable, set-group-ID) the other members must be
    // able to write the file too, whatever this user's umask says.
    struct stat folderStat {};
    struct stat fileStat {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &folderStat) == 0 &&
        (folderStat.st_mode & (S_ISGID | S_IWGRP)) == (S_ISGID | S_IWGRP) &&
        ::fstat(file.get(), &fileStat) == 0) {
      (void)::fchmod(file.get(), (fileStat.st_mode & 07777) | S_IRGRP | S_IWGRP);
    }
  }
  int error = 0;
  if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
    error = errno;
  }
  if (!file.Close() && error == 0) {
    error = errno;
  }
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
    return error;
  }
  // Make the rename itself durable; a failure here no longer endangers the file's contents.
  FileDescriptor directory(
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) {
    (void)::fsync(directory.get());
  }
  return 0;
}

std::string SystemErrorText(int error) {
  return std::generic_category().message(error);
}

}  // namespace tdxx
