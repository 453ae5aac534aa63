#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/KeyTable.h"
#include "sim/KeyImageDecoder.h"

namespace tdxx::test {

// A key table as the reader leaves it, with levels of assorted lengths: key k holds k % 4
// level-1 codes and, for odd k, two level-2 codes (an empty level has length 0; a level with
// codes has the code count + 1 and a zero after the codes). Codes include 0x40 and 0xE4 so
// that a device that took them for commands or markers would show it.
inline KeyTable SampleKeyTable() {
  KeyTable table{};
  for (std::size_t k = 0; k < table.size(); ++k) {
    auto& b = table[k].bytes;
    b[KeyRecord::kMarker] = 0xE4;
    b[KeyRecord::kRecordType] = 0x02;
    b[KeyRecord::kKeyNumber] = static_cast<std::uint8_t>(k);
    b[KeyRecord::kKeyNumberCopy] = static_cast<std::uint8_t>(k);
    const std::size_t level1Codes = k % 4;
    if (level1Codes > 0) {
      b[KeyRecord::kLevel1Flags] = kFlagHasCodes;
      for (std::size_t i = 0; i < level1Codes; ++i)
        b[KeyRecord::kLevel1Codes + i] = static_cast<std::uint8_t>(i == 1 ? 0x40 : 0x1C + k);
      b[KeyRecord::kLevel1Length] = static_cast<std::uint8_t>(level1Codes + 1);
    }
    if (k % 2 == 1) {
      b[KeyRecord::kLevel2Flags] = kFlagHasCodes | kFlagAutoRepeat;
      b[KeyRecord::kLevel2Codes] = 0xE4;
      b[KeyRecord::kLevel2Codes + 1] = 0x12;
      b[KeyRecord::kLevel2Length] = 3;
    }
  }
  return table;
}

// The bytes the keypad should hold for `record`: header, then each level's first L code-area
// bytes, located by the record layout.
inline void ExpectKeyReceived(const sim::ReceivedKey& key, const KeyRecord& record) {
  const auto& b = record.bytes;
  EXPECT_TRUE(key.complete);
  EXPECT_EQ(key.header, std::vector<std::uint8_t>(b.begin(), b.begin() + 6));
  EXPECT_EQ(key.level1Length, b[6]);
  EXPECT_EQ(key.level1, std::vector<std::uint8_t>(b.begin() + 7, b.begin() + 7 + b[6]));
  EXPECT_EQ(key.level2Length, b[231]);
  EXPECT_EQ(key.level2, std::vector<std::uint8_t>(b.begin() + 232, b.begin() + 232 + b[231]));
}

}  // namespace tdxx::test
