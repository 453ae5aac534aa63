#include "protocol/KeyRecordBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace tdxx {
namespace {

std::vector<KeyBytePart> Parts(const KeyRecord& record) {
  std::vector<KeyBytePart> parts;
  for (const KeyWireByte& byte : KeyRecordWireBytes(record))
    parts.push_back(byte.part);
  return parts;
}

TEST(KeyRecordBytes, EachByteNamesThePartOfTheRecordItComesFrom) {
  using P = KeyBytePart;
  const P a = P::Attributes;
  KeyRecord record{};
  record.bytes[KeyRecord::kLevel1Length] = 5;
  for (std::size_t i = 0; i < 5; ++i)
    record.bytes[KeyRecord::kLevel1Codes + i] = static_cast<std::uint8_t>(0x30 + i);
  EXPECT_EQ(Parts(record),
            (std::vector<P>{a, a, a, a, a, a, P::Level1Length, P::Level1Codes, P::Level1Codes,
                            P::Level1Codes, P::Level1Codes, P::Level1Codes, P::Level2Empty}));
  const std::vector<KeyWireByte> bytes = KeyRecordWireBytes(record);
  EXPECT_EQ(bytes[6].value, 5);
  EXPECT_EQ(bytes[7].value, 0x30);
  EXPECT_EQ(bytes[11].value, 0x34);

  KeyRecord secondLevelOnly{};
  secondLevelOnly.bytes[KeyRecord::kLevel2Length] = 2;
  secondLevelOnly.bytes[KeyRecord::kLevel2Codes] = 0x1C;
  EXPECT_EQ(Parts(secondLevelOnly),
            (std::vector<P>{a, a, a, a, a, a, P::Level1Empty, P::Level2Length, P::Level2Codes,
                            P::Level2Codes}));
}

TEST(KeyRecordBytes, LengthBeyondItsCodeAreaNeverReadsPastTheRecord) {
  KeyRecord record{};
  record.bytes[KeyRecord::kLevel2Length] = 0xFF;
  EXPECT_EQ(KeyRecordWireBytes(record).size(), 6u + 1u + 1u + KeyRecord::kLevel2CodesSize);
}

}  // namespace
}  // namespace tdxx
