#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tdxx::test {

// Builds the text of a firmware upgrade file: a header line, the checksum line computed over the
// image the records describe, the data records and the end record.
class UpgText {
 public:
  // A 64000-byte firmware with a valid signature and the given version byte.
  static UpgText ValidFirmware(std::uint8_t versionByte);

  // Adds a data record of `bytes` at `address` (records longer than 32 bytes are split).
  UpgText& Data(std::uint32_t address, const std::vector<std::uint8_t>& bytes);
  // Overrides the checksum line's value.
  UpgText& ChecksumValue(std::uint16_t value);
  std::string Text() const;

  std::string header = "Quorvane firmware upgrade";

 private:
  struct Record {
    std::uint32_t address;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<Record> records_;
  bool checksumOverridden_ = false;
  std::uint16_t checksum_ = 0;
};

}  // namespace tdxx::test
