#include "UpgText.h"

#include <array>
#include <cstdio>

#include "files/FirmwareReader.h"

namespace tdxx::test {

namespace {

std::string RecordLine(std::uint8_t type, std::uint32_t address,
                       const std::vector<std::uint8_t>& bytes) {
  char part[8];
  std::uint8_t sum = 0;
  std::string line = ":";
  const auto put = [&](std::uint8_t b) {
    std::snprintf(part, sizeof part, "%02X", b);
    line += part;
    sum = static_cast<std::uint8_t>(sum + b);
  };
  put(static_cast<std::uint8_t>(bytes.size()));
  put(static_cast<std::uint8_t>(address >> 8));
  put(static_cast<std::uint8_t>(address & 0xFF));
  put(type);
  for (std::uint8_t b : bytes)
    put(b);
  put(static_cast<std::uint8_t>(0x100 - sum));
  return line + "\r\n";
}

}  // namespace

UpgText UpgText::ValidFirmware(std::uint8_t versionByte) {
  UpgText text;
  // The bit-pair exchange is its own inverse: store the exchanged form of what must be read.
  text.Data(0x3FFF, {ExchangeBitPairs(versionByte), ExchangeBitPairs('K'), ExchangeBitPairs('I')});
  text.Data(0x2000, {0x12, 0x34, 0x56});
  return text;
}

UpgText& UpgText::Data(std::uint32_t address, const std::vector<std::uint8_t>& bytes) {
  for (std::size_t start = 0; start < bytes.size(); start += 32) {
    const std::size_t end = std::min(bytes.size(), start + 32);
    records_.push_back(
        Record{static_cast<std::uint32_t>(address + start),
               std::vector<std::uint8_t>(bytes.begin() + start, bytes.begin() + end)});
  }
  return *this;
}

UpgText& UpgText::ChecksumValue(std::uint16_t value) {
  checksumOverridden_ = true;
  checksum_ = value;
  return *this;
}

std::string UpgText::Text() const {
  std::vector<std::uint8_t> image(64448, 0xFF);
  for (const Record& record : records_) {
    for (std::size_t i = 0; i < record.bytes.size() && record.address + i < image.size(); ++i) {
      image[record.address + i] = record.bytes[i];
    }
  }
  std::size_t length = 64000;
  for (std::size_t i = 64000; i < image.size(); ++i) {
    if (image[i] != 0xFF)
      length = image.size();
  }
  unsigned sum = 0;
  for (std::size_t i = 0; i < length; ++i)
    sum += ExchangeBitPairs(image[i]);

  char checksumLine[40];
  std::snprintf(checksumLine, sizeof checksumLine, "Checksum = 0x%04X\r\n",
                checksumOverridden_ ? checksum_ : static_cast<unsigned>(sum & 0xFFFF));
  std::string text = header + "\r\n" + checksumLine;
  for (const Record& record : records_)
    text += RecordLine(0x00, record.address, record.bytes);
  text += RecordLine(0x01, 0, {});
  return text;
}

}  // namespace tdxx::test
