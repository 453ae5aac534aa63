#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tdxx::test {

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

}  // namespace tdxx::test
