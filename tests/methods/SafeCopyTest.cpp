#include "methods/SafeCopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "methods/FileWriter.h"
#include "support/TempFolder.h"

namespace tdxx {
namespace {

using test::ReadWholeFile;
using test::TempFolder;

// The real file system, with one kind of failure switched on at a time.
class ScriptedWriter final : public FileWriter {
 public:
  int OpenForReading(const std::string& path, bool fromDevice, int& fd) override {
    opens.push_back({path, fromDevice});
    const int error = real.OpenForReading(path, fromDevice, fd);
    if (error == 0 && fromDevice)
      deviceReads = fd;
    return error;
  }
  int Read(int fd, std::uint8_t* data, std::size_t size, std::size_t& got) override {
    if (fd == deviceReads && deviceReadError)
      return deviceReadError;
    const int error = real.Read(fd, data, size, got);
    // The drive holds something else than the page cache does: what a read from the device
    // sees, and only that.
    if (fd == deviceReads && driveLostByteAt && *driveLostByteAt >= deviceOffset &&
        *driveLostByteAt < deviceOffset + got)
      data[*driveLostByteAt - deviceOffset] ^= 0x01;
    if (fd == deviceReads)
      deviceOffset += got;
    return error;
  }
  int Create(const std::string& path, int& fd) override { return real.Create(path, fd); }
  int Write(int fd, const std::uint8_t* data, std::size_t size, std::size_t& written) override {
    if (fullAfter && bytesWritten + size > *fullAfter) {
      // A drive that fills up takes what fits and then refuses.
      const std::size_t fits = *fullAfter - bytesWritten;
      if (fits == 0) {
        written = 0;
        return ENOSPC;
      }
      size = fits;
    }
    std::vector<std::uint8_t> bytes(data, data + size);
    if (flipFirstByte && bytesWritten == 0 && !bytes.empty())
      bytes[0] ^= 0xFF;
    const int error = real.Write(fd, bytes.data(), bytes.size(), written);
    bytesWritten += written;
    return error;
  }
  int Sync(int fd) override { return real.Sync(fd); }
  int Close(int fd) override { return real.Close(fd); }
  int Rename(const std::string& from, const std::string& to) override {
    return real.Rename(from, to);
  }
  int Unlink(const std::string& path) override { return real.Unlink(path); }
  int SyncFolder(const std::string& path) override {
    return folderSyncError ? folderSyncError : real.SyncFolder(path);
  }

  struct Open {
    std::string path;
    bool fromDevice;
    bool operator==(const Open&) const = default;
  };
  std::vector<Open> opens;
  int deviceReads = -1;
  std::size_t deviceOffset = 0;
  std::optional<std::size_t> driveLostByteAt;
  int deviceReadError = 0;

  PosixFileWriter real;
  std::optional<std::size_t> fullAfter;
  bool flipFirstByte = false;
  int folderSyncError = 0;
  std::size_t bytesWritten = 0;
};

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

class SafeCopyTest : public testing::Test {
 protected:
  SafeCopyTest() {
    source = temp.Write("keys/keys.bin", Pattern(40000));  // several chunks
    temp.Write("drive/README.TXT", "on the drive before");
  }
  CopyOutcome Copy(FileWriter& writer) {
    return SafeCopy(source, destination, writer, [this] { ++chunkCalls; });
  }
  std::vector<std::string> DriveEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp / "drive"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder temp;
  std::string source;
  std::string destination = temp / "drive/keys.bin";
  ScriptedWriter writer;
  int chunkCalls = 0;
};

TEST_F(SafeCopyTest, CopyIsEqualAndNoTemporaryFileIsLeft) {
  const CopyOutcome outcome = Copy(writer);
  EXPECT_FALSE(outcome.failed) << outcome.reason;
  EXPECT_EQ(outcome.reason, "");
  EXPECT_EQ(ReadWholeFile(destination), ReadWholeFile(source));
  EXPECT_EQ(DriveEntries(), (std::vector<std::string>{"README.TXT", "keys.bin"}));
  EXPECT_GE(chunkCalls, 3) << "the window is kept alive between chunks";
}

TEST_F(SafeCopyTest, ExistingFileOfTheSameNameIsReplaced) {
  temp.Write("drive/keys.bin", "an older, longer copy of the keys file than the new one....");
  temp.Write("keys/keys.bin", "new");
  EXPECT_FALSE(Copy(writer).failed);
  EXPECT_EQ(ReadWholeFile(destination), "new");
  EXPECT_EQ(DriveEntries(), (std::vector<std::string>{"README.TXT", "keys.bin"}));
}

TEST_F(SafeCopyTest, EmptySourceGivesEmptyCopy) {
  temp.Write("keys/keys.bin", "");
  EXPECT_FALSE(Copy(writer).failed);
  EXPECT_TRUE(std::filesystem::exists(destination));
  EXPECT_EQ(std::filesystem::file_size(destination), 0u);
}

TEST_F(SafeCopyTest, MissingSourceWritesNothing) {
  std::filesystem::remove(source);
  const CopyOutcome outcome = Copy(writer);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason, "the BIN file cannot be read: No such file or directory");
  EXPECT_EQ(DriveEntries(), std::vector<std::string>{"README.TXT"});
}

TEST_F(SafeCopyTest, DestinationFolderThatIsAFileFails) {
  // Tests run as root, for whom permissions do not stop a write: a file stands where the
  // drive's folder must be.
  const std::string blocked = temp.Write("blocked", "not a folder");
  const CopyOutcome outcome = SafeCopy(source, blocked + "/keys.bin", writer, [] {});
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason, "cannot create a file on the drive: Not a directory");
  EXPECT_EQ(ReadWholeFile(blocked), "not a folder");
}

TEST_F(SafeCopyTest, FullDriveLeavesNoPartialFileAndKeepsTheOldCopy) {
  temp.Write("drive/keys.bin", "old copy");
  writer.fullAfter = 20000;
  const CopyOutcome outcome = Copy(writer);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason, "writing to the drive failed: the drive is full");
  EXPECT_EQ(writer.bytesWritten, 20000u);
  EXPECT_EQ(ReadWholeFile(destination), "old copy");
  EXPECT_EQ(DriveEntries(), (std::vector<std::string>{"README.TXT", "keys.bin"}));
}

TEST_F(SafeCopyTest, CopyThatReadsBackDifferentlyIsRemovedAndTheOldCopyKept) {
  temp.Write("drive/keys.bin", "old copy");
  writer.flipFirstByte = true;
  const CopyOutcome outcome = Copy(writer);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason, "the copy read back from the drive differs from the BIN file");
  EXPECT_EQ(ReadWholeFile(destination), "old copy");
  EXPECT_EQ(DriveEntries(), (std::vector<std::string>{"README.TXT", "keys.bin"}));
}

TEST_F(SafeCopyTest, ReadBackComesFromTheDriveAndADifferenceThereFailsTheCopy) {
  temp.Write("drive/keys.bin", "old copy");
  // The file as written (and cached) is right; the drive lost one bit in the third chunk.
  writer.driveLostByteAt = 2 * 16 * 1024 + 5;
  const CopyOutcome outcome = Copy(writer);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason, "the copy read back from the drive differs from the BIN file");
  // The source is read as it is; only the copy is read back from the device.
  EXPECT_EQ(writer.opens, (std::vector<ScriptedWriter::Open>{
                              {source, false}, {TemporaryCopyPath(destination), true}}));
  EXPECT_EQ(ReadWholeFile(destination), "old copy");
  EXPECT_EQ(DriveEntries(), (std::vector<std::string>{"README.TXT", "keys.bin"}));
}

TEST_F(SafeCopyTest, DriveThatCannotBeReadBackLeavesNoCopy) {
  writer.deviceReadError = EIO;
  const CopyOutcome outcome = Copy(writer);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason,
            "the copy cannot be read back from the drive: the drive was removed or failed "
            "(Input/output error)");
  EXPECT_EQ(DriveEntries(), std::vector<std::string>{"README.TXT"});
}

TEST_F(SafeCopyTest, DriveLostBeforeTheNameIsSavedLeavesNoCopy) {
  writer.folderSyncError = EIO;
  const CopyOutcome outcome = Copy(writer);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.reason,
            "the copy could not be saved on the drive: the drive was removed or failed "
            "(Input/output error)");
  EXPECT_EQ(DriveEntries(), std::vector<std::string>{"README.TXT"});
}

TEST_F(SafeCopyTest, TemporaryFileOfAnInterruptedCopyIsClearedFirst) {
  temp.Write("drive/.keys.bin.part", "left over");
  EXPECT_EQ(TemporaryCopyPath(destination), temp / "drive/.keys.bin.part");
  EXPECT_FALSE(Copy(writer).failed);
  EXPECT_EQ(DriveEntries(), (std::vector<std::string>{"README.TXT", "keys.bin"}));
}

}  // namespace
}  // namespace tdxx
