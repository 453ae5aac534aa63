#include "methods/SafeCopy.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <system_error>
#include <vector>

#include "methods/FileWriter.h"

namespace tdxx {
namespace {

constexpr std::size_t kChunkSize = 16 * 1024;

std::string Describe(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return "the drive is full";
    case EROFS:
      return "the drive is read-only";
    case EIO:
    case ENODEV:
    case ENXIO:
      return "the drive was removed or failed (" + std::generic_category().message(error) + ")";
    default:
      return std::generic_category().message(error);
  }
}

CopyOutcome Failed(std::string reason) {
  return CopyOutcome{true, std::move(reason)};
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads a whole file through `files`; 0 or the errno of the failure. With `fromDevice` what is
// read comes from the drive rather than from memory.
int ReadWholeFile(FileWriter& files, const std::string& path, bool fromDevice,
                  std::vector<std::uint8_t>& bytes, const std::function<void()>& betweenChunks) {
  bytes.clear();
  int fd = -1;
  if (const int error = files.OpenForReading(path, fromDevice, fd))
    return error;
  std::vector<std::uint8_t> buffer(kChunkSize);
  int error = 0;
  for (;;) {
    std::size_t got = 0;
    error = files.Read(fd, buffer.data(), buffer.size(), got);
    if (error != 0 || got == 0)
      break;
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    if (betweenChunks)
      betweenChunks();
  }
  files.Close(fd);
  return error;
}

// Writes the bytes to a new file at `path` and syncs it; the file is left behind on failure.
int WriteAndSync(FileWriter& writer, const std::string& path,
                 const std::vector<std::uint8_t>& bytes, const std::function<void()>& betweenChunks,
                 std::string& stage) {
  int fd = -1;
  stage = "cannot create a file on the drive";
  if (const int error = writer.Create(path, fd))
    return error;
  stage = "writing to the drive failed";
  std::size_t done = 0;
  int error = 0;
  while (done < bytes.size() && error == 0) {
    const std::size_t chunkEnd = std::min(bytes.size(), done + kChunkSize);
    while (done < chunkEnd && error == 0) {
      std::size_t written = 0;
      error = writer.Write(fd, bytes.data() + done, chunkEnd - done, written);
      done += written;
    }
    if (error == 0 && betweenChunks)
      betweenChunks();
  }
  if (error == 0) {
    error = writer.Sync(fd);
    if (error)
      stage = "the copy could not be saved on the drive";
  }
  const int closeError = writer.Close(fd);
  if (error == 0 && closeError != 0) {
    stage = "the copy could not be saved on the drive";
    error = closeError;
  }
  return error;
}

}  // namespace

std::string TemporaryCopyPath(const std::string& destination) {
  const std::string folder = FolderOf(destination);
  return (folder == "/" ? "" : folder) + "/." + NameOf(destination) + ".part";
}

CopyOutcome SafeCopy(const std::string& source, const std::string& destination, FileWriter& writer,
                     const std::function<void()>& betweenChunks) {
  std::vector<std::uint8_t> original;
  if (const int error = ReadWholeFile(writer, source, false, original, betweenChunks))
    return Failed("the BIN file cannot be read: " + std::generic_category().message(error));

  const std::string temporary = TemporaryCopyPath(destination);
  // A temporary file left by a copy that was cut off (program killed, drive pulled) goes first.
  writer.Unlink(temporary);

  std::string stage;
  if (const int error = WriteAndSync(writer, temporary, original, betweenChunks, stage)) {
    writer.Unlink(temporary);
    return Failed(stage + ": " + Describe(error));
  }

  // The copy is checked before it takes the file's name, so that a bad copy never replaces a
  // good file of the same name.
  std::vector<std::uint8_t> readBack;
  if (const int error = ReadWholeFile(writer, temporary, true, readBack, betweenChunks)) {
    writer.Unlink(temporary);
    return Failed("the copy cannot be read back from the drive: " + Describe(error));
  }
  if (readBack != original) {
    writer.Unlink(temporary);
    return Failed("the copy read back from the drive differs from the BIN file");
  }

  if (const int error = writer.Rename(temporary, destination)) {
    writer.Unlink(temporary);
    return Failed("the copy cannot take its name on the drive: " + Describe(error));
  }
  if (const int error = writer.SyncFolder(FolderOf(destination))) {
    // Whether the name reached the device is unknown; a copy that may vanish is not kept.
    writer.Unlink(destination);
    return Failed("the copy could not be saved on the drive: " + Describe(error));
  }
  return CopyOutcome{};
}

}  // namespace tdxx
