#include "UpgBuilder.h"

#include <array>
#include <cstdio>

#include "files/FirmwareImage.h"
#include "files/FirmwareReader.h"

namespace tdxx::test {

std::string HexRecord(std::uint32_t address, std::uint8_t type,
                      const std::vector<std::uint8_t>& data, bool lowercase) {
  std::vector<std::uint8_t> fields{static_cast<std::uint8_t>(data.size()),
                                   static_cast<std::uint8_t>(address >> 8),
                                   static_cast<std::uint8_t>(address), type};
  fields.insert(fields.end(), data.begin(), data.end());
  std::uint8_t sum = 0;
  for (const std::uint8_t b : fields) {
    sum = static_cast<std::uint8_t>(sum + b);
  }
  fields.push_back(static_cast<std::uint8_t>(-sum));
  std::string text = ":";
  for (const std::uint8_t b : fields) {
    char pair[3];
    std::snprintf(pair, sizeof pair, lowercase ? "%02x" : "%02X", b);
    text += pair;
  }
  return text;
}

UpgBuilder::UpgBuilder() {
  // 'K' and 'I' as stored: their bit pairs exchanged.
  Put(0x3FFF, {ExchangeBitPairs(0x23), ExchangeBitPairs('K'), ExchangeBitPairs('I')});
}

UpgBuilder& UpgBuilder::Put(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    image[address + static_cast<std::uint32_t>(i)] = bytes[i];
  }
  return *this;
}

std::uint16_t UpgBuilder::ImageChecksum() const {
  std::array<std::uint8_t, kFirmwareImageSize> bytes;
  bytes.fill(0xFF);
  for (const auto& [address, value] : image) {
    if (address < bytes.size()) {
      bytes[address] = value;
    }
  }
  std::size_t length = 64000;
  for (std::size_t i = 64000; i < bytes.size(); ++i) {
    if (bytes[i] != 0xFF) {
      length = bytes.size();
    }
  }
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < length; ++i) {
    sum += ExchangeBitPairs(bytes[i]);
  }
  return static_cast<std::uint16_t>(sum);
}

std::string UpgBuilder::Text() const {
  char checksumLine[32];
  std::snprintf(checksumLine, sizeof checksumLine,
                lowercase ? "Checksum = 0x%04x" : "Checksum = 0x%04X", ImageChecksum());
  std::string text = header + checksumLine + lineEnd;
  // One record per run of up to 16 consecutive addresses.
  auto it = image.begin();
  while (it != image.end()) {
    const std::uint32_t start = it->first;
    std::vector<std::uint8_t> data;
    while (it != image.end() && it->first == start + data.size() && data.size() < 16) {
      data.push_back(it->second);
      ++it;
    }
    text += HexRecord(start, 0x00, data, lowercase) + lineEnd;
  }
  if (withEndRecord) {
    text += HexRecord(0, 0x01, {}, lowercase) + lineEnd;
  }
  return text;
}

}  // namespace tdxx::test
