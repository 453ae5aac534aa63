#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "files/FirmwareImage.h"
#include "files/ProgressLog.h"

namespace tdxx {

// Reads a UPG firmware file into `firmware`. Result: 0 success; 1 no such file; 2 cannot open or
// bad checksum line; 3 end of file before the end record; 4 bad record checksum; 5 bad record
// type; -1 address out of range, image checksum mismatch or missing signature.
int ReadFirmwareFile(const std::string& path, FirmwareImage& firmware, ProgressLog& log);

// The next two characters of `stream` as a hexadecimal byte (a leading blank skipped, digits of
// either case up to the first non-digit, 0 when no digit starts the pair).
std::uint8_t ReadHexByte(std::FILE* stream);

// `b` with bits 2-3 and bits 4-5 exchanged.
constexpr std::uint8_t ExchangeBitPairs(std::uint8_t b) {
  return static_cast<std::uint8_t>((b & 0xC3) | ((b & 0x30) >> 2) | ((b & 0x0C) << 2));
}

}  // namespace tdxx
