#include "protocol/KeyRecordBytes.h"

#include <algorithm>

namespace tdxx {
namespace {

constexpr std::size_t kHeaderSize = 6;

void AppendLevel(const KeyRecord& record, std::size_t lengthOffset, std::size_t codesOffset,
                 std::size_t codesSize, KeyBytePart lengthPart, KeyBytePart codesPart,
                 KeyBytePart emptyPart, std::vector<KeyWireByte>& out) {
  const std::uint8_t length = record.bytes[lengthOffset];
  if (length == 0) {
    out.push_back({0, emptyPart});
    return;
  }
  out.push_back({length, lengthPart});
  const std::size_t count = std::min<std::size_t>(length, codesSize);
  for (std::size_t i = 0; i < count; ++i)
    out.push_back({record.bytes[codesOffset + i], codesPart});
}

}  // namespace

std::vector<KeyWireByte> KeyRecordWireBytes(const KeyRecord& record) {
  std::vector<KeyWireByte> out;
  for (std::size_t i = 0; i < kHeaderSize; ++i)
    out.push_back({record.bytes[i], KeyBytePart::Attributes});
  AppendLevel(record, KeyRecord::kLevel1Length, KeyRecord::kLevel1Codes,
              KeyRecord::kLevel1CodesSize, KeyBytePart::Level1Length, KeyBytePart::Level1Codes,
              KeyBytePart::Level1Empty, out);
  AppendLevel(record, KeyRecord::kLevel2Length, KeyRecord::kLevel2Codes,
              KeyRecord::kLevel2CodesSize, KeyBytePart::Level2Length, KeyBytePart::Level2Codes,
              KeyBytePart::Level2Empty, out);
  return out;
}

}  // namespace tdxx
