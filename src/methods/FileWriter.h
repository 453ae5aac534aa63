#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tdxx {

// The file-system calls by which a safe copy reads its source, writes its destination and reads
// the copy back. Every call returns 0 on success or the errno value of its failure.
// PosixFileWriter makes the real calls; tests wrap it to make a call fail, as a full or removed
// drive would, or to hand back other bytes than were written, as a drive that lost them would.
class FileWriter {
 public:
  virtual ~FileWriter() = default;

  // Opens a file for reading. With `fromDevice` the file's cached pages are dropped first, so
  // that what is read comes from the drive rather than from memory.
  virtual int OpenForReading(const std::string& path, bool fromDevice, int& fd) = 0;
  // Reads up to `size` bytes; how many were read goes to `got` (0 at the end of the file).
  virtual int Read(int fd, std::uint8_t* data, std::size_t size, std::size_t& got) = 0;
  // Creates a new file for writing (it must not exist yet); its descriptor goes to `fd`.
  virtual int Create(const std::string& path, int& fd) = 0;
  // Writes up to `size` bytes; how many were written goes to `written` (at least 1 on success).
  virtual int Write(int fd, const std::uint8_t* data, std::size_t size, std::size_t& written) = 0;
  // Makes the file's data and size durable on the device.
  virtual int Sync(int fd) = 0;
  virtual int Close(int fd) = 0;
  // Renames `from` to `to`, replacing a file of that name.
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int Unlink(const std::string& path) = 0;
  // Makes the folder's entries (a rename into it) durable on the device.
  virtual int SyncFolder(const std::string& path) = 0;
};

// The real calls: open, posix_fadvise, read, write, fsync, close, rename, unlink.
class PosixFileWriter final : public FileWriter {
 public:
  int OpenForReading(const std::string& path, bool fromDevice, int& fd) override;
  int Read(int fd, std::uint8_t* data, std::size_t size, std::size_t& got) override;
  int Create(const std::string& path, int& fd) override;
  int Write(int fd, const std::uint8_t* data, std::size_t size, std::size_t& written) override;
  int Sync(int fd) override;
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Unlink(const std::string& path) override;
  int SyncFolder(const std::string& path) override;
};

}  // namespace tdxx
