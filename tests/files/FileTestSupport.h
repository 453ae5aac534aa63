#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "files/ProgressLog.h"

namespace tdxx::filetest {

// A fresh folder under the system's temporary folder, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  // Writes `bytes` to the file `name` in the folder and returns its full path.
  std::string Write(const std::string& name, std::string_view bytes) const;
  // Names of the folder's entries, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string path_;
};

std::string ReadBytes(const std::string& path);

// Everything logged, in one text.
class RecordingLog final : public ProgressLog {
 public:
  void LogProgress(std::string_view text) override { text_ += text; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// A UPG file text: header line, checksum line over the image its records describe, data records
// (16 bytes each) and the end record. By default the firmware is 64000 bytes long and signed.
struct UpgBuilder {
  UpgBuilder();
  // Stores `bytes` at `address` of the image the records describe.
  UpgBuilder& Put(std::uint32_t address, const std::vector<std::uint8_t>& bytes);
  // The checksum the reader computes over the records' image.
  std::uint16_t ImageChecksum() const;
  std::string Text() const;

  std::string header = "TDxx firmware 2.3\r\n";
  std::string lineEnd = "\r\n";
  bool lowercase = false;
  bool withEndRecord = true;
  std::map<std::uint32_t, std::uint8_t> image;
};

// One record ":NNAAAATT<data>CC" with its correct checksum.
std::string HexRecord(std::uint32_t address, std::uint8_t type,
                      const std::vector<std::uint8_t>& data, bool lowercase = false);

// `count` copies of the code text `pair`.
std::string Repeat(std::string_view pair, int count);

}  // namespace tdxx::filetest
