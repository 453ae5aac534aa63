#include "files/FirmwareReader.h"

#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "files/HexDigit.h"

namespace tdxx {
namespace {

constexpr std::uint32_t kLowestDataAddress = 0x2000;  // below: the bootloader's own flash
constexpr std::uint32_t kHighestDataAddress = 0xFBBF;
constexpr std::uint32_t kShortImageLength = 64000;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Where a firmware of the given length keeps its version byte and its two signature letters.
struct SignaturePlace {
  std::size_t version;
  std::size_t first;
  std::size_t second;
};

SignaturePlace SignaturePlaceFor(std::uint32_t imageLength) {
  return imageLength == kShortImageLength ? SignaturePlace{0x3FFF, 0x4000, 0x4001}
                                          : SignaturePlace{0x2FFF, 0x3000, 0x3001};
}

bool IsWhiteSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the records up to and including the end record into `image`. Returns 0, or the result
// code of the first fault.
int ReadRecords(std::FILE* file, FirmwareImage& firmware) {
  for (;;) {
    int c = 0;
    do {
      c = std::getc(file);
      if (c == EOF) {
        return 3;
      }
    } while (c != ':');

    const std::uint8_t count = ReadHexByte(file);
    const std::uint8_t addressHigh = ReadHexByte(file);
    const std::uint8_t addressLow = ReadHexByte(file);
    const std::uint8_t type = ReadHexByte(file);
    std::uint8_t sum = static_cast<std::uint8_t>(count + addressHigh + addressLow + type);
    const std::uint32_t address = addressHigh * 256u + addressLow;

    if (type == 0x00) {
      if (address < kLowestDataAddress || address > kHighestDataAddress) {
        return -1;
      }
    } else if (type != 0x01) {
      return 5;
    }
    for (std::uint32_t j = 0; j < count; ++j) {
      const std::uint8_t data = ReadHexByte(file);
      sum = static_cast<std::uint8_t>(sum + data);
      // Only data records store, and nothing beyond the image's last byte.
      if (type == 0x00 && address + j < kFirmwareImageSize) {
        firmware.image[address + j] = data;
      }
    }
    sum = static_cast<std::uint8_t>(sum + ReadHexByte(file));
    if (sum != 0) {
      return 4;
    }
    if (type == 0x01) {
      return 0;
    }
  }
}

}  // namespace

std::uint8_t ReadHexByte(std::FILE* stream) {
  int pair[2] = {std::getc(stream), EOF};
  if (pair[0] != EOF) {
    pair[1] = std::getc(stream);
  }
  std::size_t i = IsWhiteSpace(pair[0]) ? 1 : 0;
  unsigned value = 0;
  for (; i < 2 && HexDigitValue(pair[i]) >= 0; ++i) {
    value = value * 16 + static_cast<unsigned>(HexDigitValue(pair[i]));
  }
  return static_cast<std::uint8_t>(value);
}

int ReadFirmwareFile(const std::string& path, FirmwareImage& firmware, ProgressLog& log) {
  // A folder is no firmware file, the way the file-exists test has always seen it.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
    return 1;
  }
  const File file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return 2;
  }

  firmware.image.fill(0xFF);
  firmware.versionByte = 0;

  // The header: at most 127 characters, up to and including the line end.
  char header[128];
  if (std::fgets(header, sizeof header, file.get()) != nullptr) {
    log.LogProgress("\r\n" + std::string(header, std::strlen(header)));
  }
  // Only a conversion failure counts: a file that ends here goes on and ends without an end
  // record. The width 4 takes up to four digits.
  unsigned checksum = 0;
  if (std::fscanf(file.get(), "Checksum = 0x%4X", &checksum) == 0) {
    log.LogProgress("\r\nError reading file checksum");
    return 2;
  }

  if (const int result = ReadRecords(file.get(), firmware); result != 0) {
    return result;
  }

  firmware.imageLength = kShortImageLength;
  for (std::size_t i = kShortImageLength; i < kFirmwareImageSize; ++i) {
    if (firmware.image[i] != 0xFF) {
      firmware.imageLength = static_cast<std::uint32_t>(kFirmwareImageSize);
      break;
    }
  }

  // The image is stored as the file gives it; its checksum and signature are taken over the
  // bytes with their bit pairs exchanged, as the firmware reads them.
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < firmware.imageLength; ++i) {
    sum += ExchangeBitPairs(firmware.image[i]);
  }
  if (sum % 65536 != checksum) {
    return -1;
  }
  const SignaturePlace place = SignaturePlaceFor(firmware.imageLength);
  if (ExchangeBitPairs(firmware.image[place.first]) != 'K' ||
      ExchangeBitPairs(firmware.image[place.second]) != 'I') {
    return -1;
  }
  firmware.versionByte = ExchangeBitPairs(firmware.image[place.version]);
  return 0;
}

}  // namespace tdxx
