// The key record as the keypad reads it, located by the record layout's own byte numbers (not
// by the reader's offset constants, which a mistake would move along with the reader).
#include <gtest/gtest.h>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "files/KeyDefinitionReader.h"

namespace tdxx {
namespace {

TEST(KeyRecordLayout, LevelsLandAtTheirBytes) {
  test::TempFolder folder;
  test::RecordingLog log;
  KeyTable table{};
  GlobalParameterBlock block{};
  const std::string path = folder.Write("layout.ckd",
                                        "[KEY7]\n"
                                        "L1_MacroMode=3\nL1_AutoRepeat=1\nLevel_1_Codes=f0\n"
                                        "L2_MacroMode=7\nL2_AutoRepeat=0\nLevel_2_Codes=1c\n");
  ASSERT_EQ(ReadKeyDefinitionFile(path, table, block, log), 24);
  const auto& record = table[7].bytes;
  EXPECT_EQ(record[3], 0x01);  // level-2 flags: codes present
  EXPECT_EQ(record[4], 0x07);  // level-1 flags: codes, auto-repeat, macro mode 3
  EXPECT_EQ(record[6], 2);     // level-1 length: one code and its closing zero
  EXPECT_EQ(record[7], 0xE3);
  EXPECT_EQ(record[8], 0x00);
  EXPECT_EQ(record[231], 2);  // level-2 length
  EXPECT_EQ(record[232], 0x1C);
  EXPECT_EQ(record[233], 0x00);
  // Nothing of level 2 spills into level 1's code area, nor the other way round.
  for (std::size_t i = 9; i < 231; ++i)
    EXPECT_EQ(record[i], 0) << i;
  for (std::size_t i = 234; i < 344; ++i)
    EXPECT_EQ(record[i], 0) << i;
}

}  // namespace
}  // namespace tdxx
