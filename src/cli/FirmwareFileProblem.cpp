#include "cli/FirmwareFileProblem.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "files/FileBytes.h"
#include "files/FirmwareReader.h"
#include "files/HexDigit.h"

namespace tdxx::cli {
namespace {

constexpr std::uint32_t kLowestDataAddress = 0x2000;
constexpr std::uint32_t kHighestDataAddress = 0xFBBF;
constexpr std::uint32_t kShortImageLength = 64000;

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// One record line as its hexadecimal pairs after the colon.
struct Record {
  int line = 0;
  std::vector<std::uint8_t> bytes;
  bool wellFormed = true;  // every character after the colon is a hexadecimal digit pair
};

std::vector<Record> Records(const std::vector<std::string>& lines) {
  std::vector<Record> records;
  // The first two lines are the header and the checksum line.
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::string& text = lines[i];
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
      continue;
    Record record;
    record.line = static_cast<int>(i) + 1;
    std::size_t end = text.size();
    while (end > colon + 1 && (text[end - 1] == '\r' || text[end - 1] == ' '))
      --end;
    for (std::size_t j = colon + 1; j + 1 < end; j += 2) {
      const int high = HexDigitValue(text[j]);
      const int low = HexDigitValue(text[j + 1]);
      if (high < 0 || low < 0) {
        record.wellFormed = false;
        break;
      }
      record.bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if ((end - colon - 1) % 2 != 0)
      record.wellFormed = false;
    records.push_back(std::move(record));
  }
  return records;
}

std::string RecordProblem(const std::vector<Record>& records, int result) {
  for (const Record& record : records) {
    const std::string where = "line " + std::to_string(record.line) + ": ";
    const auto& b = record.bytes;
    if (b.size() < 4)
      return where + "the record is too short for its length, address and type";
    const unsigned count = b[0];
    const unsigned address = b[1] * 256u + b[2];
    const unsigned type = b[3];
    if (result == -1 && type == 0x00 &&
        (address < kLowestDataAddress || address > kHighestDataAddress))
      return where + "address " + Hex(address, 4) + " is outside the image (" +
             Hex(kLowestDataAddress, 4) + " to " + Hex(kHighestDataAddress, 4) + ")";
    if (result == 5 && type != 0x00 && type != 0x01)
      return where + "record type " + Hex(type, 2) + " is neither data (00) nor end (01)";
    if (result == 4) {
      if (b.size() < count + 5u)
        return where + "the record holds " + std::to_string(b.size() < 5 ? 0 : b.size() - 5) +
               " data bytes, its length byte says " + std::to_string(count);
      unsigned sum = 0;
      for (std::size_t i = 0; i < count + 4u; ++i)
        sum += b[i];
      const unsigned expected = (0x100 - (sum & 0xFF)) & 0xFF;
      if (b[count + 4u] != expected || !record.wellFormed)
        return where + "the record's checksum is " + Hex(b[count + 4u], 2) + ", its bytes need " +
               Hex(expected, 2);
    }
    if (type == 0x01)
      break;
  }
  return "";
}

// The image's own checks, made after the end record: its checksum and its signature.
std::string ImageProblem(const std::vector<std::string>& lines, const FirmwareImage& firmware) {
  unsigned checksum = 0;
  if (lines.size() < 2 || std::sscanf(lines[1].c_str(), "Checksum = 0x%4X", &checksum) != 1)
    return "";
  std::uint32_t length = kShortImageLength;
  for (std::size_t i = kShortImageLength; i < kFirmwareImageSize; ++i) {
    if (firmware.image[i] != 0xFF) {
      length = static_cast<std::uint32_t>(kFirmwareImageSize);
      break;
    }
  }
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < length; ++i)
    sum += ExchangeBitPairs(firmware.image[i]);
  if (sum % 65536 != checksum)
    return "line 2: the file's checksum " + Hex(checksum, 4) + " does not match the image's " +
           Hex(sum % 65536, 4) + " (" + std::to_string(length) + " bytes)";
  const std::size_t signature = length == kShortImageLength ? 0x4000 : 0x3000;
  return "the image of " + std::to_string(length) + " bytes has no firmware signature at " +
         Hex(static_cast<unsigned>(signature), 4);
}

}  // namespace

std::string FirmwareFileProblem(const std::string& path, int result,
                                const FirmwareImage& firmware) {
  std::error_code error;
  if (result == 1)
    return std::filesystem::is_directory(path, error) ? "is a folder, not a file" : "no such file";
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return SystemErrorText(errno);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);)
    lines.push_back(line);

  switch (result) {
    case 2:
      return "line 2: not a checksum line (\"Checksum = 0x\" and four hexadecimal digits)";
    case 3:
      return "the file ends at line " + std::to_string(lines.size()) +
             " before the end record (:00000001FF)";
    case 4:
    case 5:
      if (std::string problem = RecordProblem(Records(lines), result); !problem.empty())
        return problem;
      return result == 4 ? "a record's checksum is wrong" : "a record's type is wrong";
    case -1:
      if (std::string problem = RecordProblem(Records(lines), result); !problem.empty())
        return problem;
      return ImageProblem(lines, firmware);
    default:
      return "cannot be read (result " + std::to_string(result) + ")";
  }
}

}  // namespace tdxx::cli
