#include "sim/KeyImageDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace tdxx::sim {
namespace {

void FeedAll(KeyImageDecoder& decoder, std::initializer_list<int> bytes) {
  long long time = 0;
  for (int byte : bytes) {
    decoder.Feed(static_cast<std::uint8_t>(byte), Milliseconds(time));
    time += 10;
  }
}

using ByteVector = std::vector<std::uint8_t>;

TEST(KeyImageDecoder, TakesTheGlobalBlockKeysAndEndByteApartByTheirLengths) {
  KeyImageDecoder decoder;
  FeedAll(decoder, {0xE4, 0x01, 0x03, 0xE0, 0x70, 0x80,                                // block
                    0xE4, 0x02, 0x07, 0x01, 0x09, 0x07, 0x02, 0x1C, 0x00, 0x00,        // key 7
                    0xE4, 0x02, 0x08, 0x00, 0x00, 0x08, 0x00, 0x03, 0xE4, 0x40, 0x00,  // key 8
                    0xE5});
  const ReceivedKeyImage& image = decoder.image();
  EXPECT_EQ(image.globalBlock, (ByteVector{0xE4, 0x01, 0x03, 0xE0, 0x70, 0x80}));
  EXPECT_TRUE(image.globalComplete);
  ASSERT_EQ(image.keys.size(), 2u);
  EXPECT_EQ(image.keys[0].keyNumber(), 7);
  EXPECT_EQ(image.keys[0].header, (ByteVector{0xE4, 0x02, 0x07, 0x01, 0x09, 0x07}));
  EXPECT_EQ(image.keys[0].level1, (ByteVector{0x1C, 0x00}));
  EXPECT_TRUE(image.keys[0].level2.empty());
  EXPECT_EQ(image.keys[0].byteTimes.size(), 10u);
  // Marker bytes inside a code area are codes, not the start of a record.
  EXPECT_EQ(image.keys[1].level2, (ByteVector{0xE4, 0x40, 0x00}));
  EXPECT_EQ(image.CompleteKeyCount(), 2);
  EXPECT_TRUE(image.endByte);
  EXPECT_TRUE(image.strayBytes.empty());
  EXPECT_TRUE(decoder.BetweenRecords());
}

TEST(KeyImageDecoder, ARecordCutShortStaysIncompleteAndStrayBytesAreKeptApart) {
  KeyImageDecoder decoder;
  FeedAll(decoder, {0x33, 0xE4, 0x02, 0x00, 0x00, 0x00, 0x00, 0x05, 0x1C});
  const ReceivedKeyImage& image = decoder.image();
  EXPECT_EQ(image.strayBytes, ByteVector{0x33});
  ASSERT_EQ(image.keys.size(), 1u);
  EXPECT_FALSE(image.keys[0].complete);
  EXPECT_EQ(image.keys[0].level1Length, 5);
  EXPECT_FALSE(image.endByte);
  EXPECT_FALSE(decoder.BetweenRecords());
  EXPECT_TRUE(image.globalBlock.empty());
}

}  // namespace
}  // namespace tdxx::sim
