#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "UpgBuilder.h"
#include "files/KeyDefinitionReader.h"

namespace tdxx {
namespace {

// `count` copies of the code text `pair`.
std::string Repeat(std::string_view pair, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += pair;
  }
  return text;
}

using test::RecordingLog;
using test::TempFolder;

class KeyDefinitionReaderTest : public ::testing::Test {
 protected:
  // Reads a CKD file with the given text; returns the key count.
  int Read(const std::string& text) {
    return ReadKeyDefinitionFile(folder.Write("keys.ckd", text), table, block, log);
  }
  std::vector<std::uint8_t> Bytes(int key, std::size_t offset, std::size_t count) const {
    const auto& bytes = table[static_cast<std::size_t>(key)].bytes;
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            bytes.begin() + static_cast<std::ptrdiff_t>(offset + count)};
  }
  std::uint8_t At(int key, std::size_t offset) const {
    return table[static_cast<std::size_t>(key)].bytes[offset];
  }

  TempFolder folder;
  KeyTable table{};
  GlobalParameterBlock block{};
  RecordingLog log;
};

TEST_F(KeyDefinitionReaderTest, KeyCountAndFileTypeLine) {
  struct Case {
    std::string global;
    int keys;
    std::string_view line;
  };
  const Case cases[] = {
      {"Number_Of_Keys=66", 66, "WK-C (loading 66 keys)"},
      {"Number_Of_Keys=48\nModel_Number=Keysmith916", 48, "TD-B (loading 48 keys)"},
      {"Number_Of_Keys=0x18", 24, "TD-A (loading 24 keys)"},
      {"Number_Of_Keys=35\nModel_Number=Keysmith916", 35, "916 (loading 35 keys)"},
      {"Model_Number=Keysmith917", 24, "917 (loading 24 keys)"},
      {"Number_Of_Keys=35", 24, "unknown (loading 24 keys)"},
      {"Number_Of_Keys=48 keys\nModel_Number=keysmith916", 24, "unknown (loading 24 keys)"},
  };
  for (const Case& c : cases) {
    RecordingLog caseLog;
    EXPECT_EQ(ReadKeyDefinitionFile(folder.Write("k.ckd", "[GLOBAL_PARAMETERS]\n" + c.global),
                                    table, block, caseLog),
              c.keys)
        << c.global;
    EXPECT_EQ(caseLog.text(), "\r\nCKD File Type: " + std::string(c.line)) << c.global;
  }
}

TEST_F(KeyDefinitionReaderTest, EmptyGlobalSectionReadsAsDefaults) {
  EXPECT_EQ(Read("[GLOBAL_PARAMETERS]\n"), 24);
  EXPECT_EQ(log.text(), "\r\nCKD File Type: unknown (loading 24 keys)");
  const std::array<std::uint8_t, 15> expected{0xE4, 0x01, 0x0A, 0xE0, 0x70, 0x80, 0x80, 0x80,
                                              0x80, 0x02, 0x0B, 0x04, 0x01, 0x00, 0x00};
  EXPECT_EQ(block.bytes, expected);
  for (int k = 0; k < 66; ++k) {
    std::array<std::uint8_t, kKeyRecordSize> record{};
    record[0] = 0xE4;
    record[1] = 0x02;
    record[2] = record[5] = static_cast<std::uint8_t>(k);
    EXPECT_EQ(table[static_cast<std::size_t>(k)].bytes, record) << k;
  }
}

TEST_F(KeyDefinitionReaderTest, GlobalParametersKeepTheirLow8Bits) {
  Read(
      "[global_parameters]\nCharacter_Pacing=260\nKey_Roll_Over=-1\nLED_Function=0x1FF\n"
      "LED2_Function=5\nLED3_Function=6\nUSB_Device_Type=12x\n");
  const std::vector<std::uint8_t> params(block.bytes.begin() + 9, block.bytes.end());
  EXPECT_EQ(params, (std::vector<std::uint8_t>{0xFF, 11, 4, 0xFF, 5, 6}));
}

// One level of one key: its mode, auto-repeat and code text, and what lands in the record.
struct LevelCase {
  int mode;
  int autoRepeat;
  std::string text;
  std::uint8_t flags;
  std::uint8_t length;
  std::vector<std::uint8_t> codes;  // start of the code area
};

TEST_F(KeyDefinitionReaderTest, FlagsLengthsAndCodesOfBothLevels) {
  const LevelCase cases[] = {
      {0, 0, "12f012", 0x09, 2, {0x12, 0x00}},  // modifier pattern
      {2, 0, "12f012", 0x01, 4, {0x12, 0xE3, 0x12, 0x00}},
      {0, 0, "e01fe0f01f", 0x09, 3, {0xE0, 0x1F, 0x00}},
      {0, 0, "e027", 0x09, 3, {0xE0, 0x27, 0x00}},
      {0, 0, "E027", 0x01, 3, {0xE0, 0x27, 0x00}},  // no pattern: patterns are case-sensitive
      {1, 0, "1c", 0x09, 2, {0x1C, 0x00}},
      {3, 0, "1c", 0x05, 2, {0x1C, 0x00}},
      {0, 0, "1c", 0x09, 2, {0x1C, 0x00}},  // one code in mode 0
      {0, 0, "1c1d", 0x01, 3, {0x1C, 0x1D, 0x00}},
      {0, 0, "1c1", 0x09, 2, {0x1C, 0x00}},  // a last unpaired character is ignored
      {0, 0, "f0", 0x09, 2, {0xE3, 0x00}},   // the release prefix
      {0, 0, "e5", 0x01, 0, {0x00}},         // rejected, yet the text was not empty
      {0, 0, "00", 0x01, 0, {0x00}},
      {0, 0, "1ce5", 0x09, 0, {0x1C, 0x00}},  // one code written before the rejected pair
      {2, 0, "1ce51d", 0x01, 0, {0x1C, 0x00}},
      {3, 1, "f0", 0x07, 2, {0xE3, 0x00}},
      {0, 5, "", 0x02, 0, {0x00}},
      {1, 0, "", 0x08, 0, {0x00}},
      {7, 0, "1c", 0x01, 2, {0x1C, 0x00}},  // an unknown mode only converts
      {-1, 0, "12f012", 0x01, 4, {0x12, 0xE3, 0x12}},
      {0, 0, "\"1c\"", 0x09, 2, {0x1C, 0x00}},  // quotes dropped by the INI reader
  };
  for (const LevelCase& c : cases) {
    for (const int level : {1, 2}) {
      const std::string n = std::to_string(level);
      // Key 5 carries the case; key 6 has the same on the other level only, to show that the
      // levels keep apart.
      Read("[KEY5]\nL" + n + "_MacroMode=" + std::to_string(c.mode) + "\nL" + n + "_AutoRepeat=" +
           std::to_string(c.autoRepeat) + "\nLevel_" + n + "_Codes=" + c.text + "\n");
      const std::size_t flags = level == 1 ? KeyRecord::kLevel1Flags : KeyRecord::kLevel2Flags;
      const std::size_t length = level == 1 ? KeyRecord::kLevel1Length : KeyRecord::kLevel2Length;
      const std::size_t other = level == 1 ? KeyRecord::kLevel2Flags : KeyRecord::kLevel1Flags;
      EXPECT_EQ(At(5, flags), c.flags) << level << " " << c.mode << " " << c.text;
      EXPECT_EQ(At(5, length), c.length) << level << " " << c.mode << " " << c.text;
      EXPECT_EQ(Bytes(5, length + 1, c.codes.size()), c.codes) << level << " " << c.text;
      EXPECT_EQ(At(5, other), 0) << level << " " << c.text;
    }
  }
}

TEST_F(KeyDefinitionReaderTest, CapacityOfEachLevel) {
  struct Case {
    int level1Codes;  // 0: Level_1_Codes empty
    int level2Codes;  // 0: Level_2_Codes empty
    std::uint8_t level1Length, level2Length;
  };
  const Case cases[] = {
      {223, 0, 224, 0}, {224, 0, 0, 0}, {111, 1, 112, 2}, {112, 1, 0, 2},
      {1, 111, 2, 112}, {1, 112, 2, 0}, {600, 0, 0, 0},  // longer than any level can hold, and cut
                                                         // at 1023 characters
  };
  for (const Case& c : cases) {
    Read("[KEY65]\nL1_MacroMode=2\nL2_MacroMode=2\nLevel_1_Codes=" + Repeat("1c", c.level1Codes) +
         "\nLevel_2_Codes=" + Repeat("2d", c.level2Codes) + "\n");
    EXPECT_EQ(At(65, KeyRecord::kLevel1Length), c.level1Length) << c.level1Codes;
    EXPECT_EQ(At(65, KeyRecord::kLevel2Length), c.level2Length) << c.level2Codes;
    // The level-2 length byte follows the level-1 area: a full level 1 must not touch it.
    if (c.level1Codes == 224) {
      EXPECT_EQ(At(65, KeyRecord::kLevel1Codes + 223), 0x1C);
    }
  }
  Read("[KEY0]\nL1_MacroMode=2\nLevel_1_Codes=" + Repeat("1c", 223) + "\n");
  EXPECT_EQ(At(0, KeyRecord::kLevel1Codes + 222), 0x1C);
  EXPECT_EQ(At(0, KeyRecord::kLevel1Codes + 223), 0x00);  // the zero the download sends last
}

TEST_F(KeyDefinitionReaderTest, KeyTypeSlotsAndASecondFileStartFresh) {
  Read(
      "[KEY3]\nKeyType=2\n[KEY7]\nKeyType=2\n[KEY9]\nKeyType=2\n[KEY12]\nKeyType=1\n"
      "[KEY20]\nKeyType=3\n[KEY4]\nLevel_1_Codes=1c\n");
  EXPECT_EQ(std::vector<std::uint8_t>(block.bytes.begin() + 5, block.bytes.begin() + 9),
            (std::vector<std::uint8_t>{3, 7, 12, 0x80}));
  EXPECT_EQ(At(4, KeyRecord::kLevel1Length), 2);

  EXPECT_EQ(Read("[GLOBAL_PARAMETERS]\nNumber_Of_Keys=48\n"), 48);
  EXPECT_EQ(std::vector<std::uint8_t>(block.bytes.begin() + 5, block.bytes.begin() + 9),
            (std::vector<std::uint8_t>(4, 0x80)));
  EXPECT_EQ(At(4, KeyRecord::kLevel1Flags), 0);
  EXPECT_EQ(At(4, KeyRecord::kLevel1Length), 0);
  EXPECT_EQ(At(4, KeyRecord::kLevel1Codes), 0);
}

TEST_F(KeyDefinitionReaderTest, AFileThatCannotBeOpenedLeavesTheImagesAsTheyWere) {
  Read("[GLOBAL_PARAMETERS]\nNumber_Of_Keys=66\nCharacter_Pacing=9\n[KEY1]\nLevel_1_Codes=1c\n");
  const KeyTable tableBefore = table;
  const GlobalParameterBlock blockBefore = block;
  struct Case {
    std::string path;
    std::string_view reason;
  };
  const Case cases[] = {
      {folder.path() + "/missing.ckd", "No such file or directory"},
      {folder.path(), "Is a directory"},
  };
  for (const Case& c : cases) {
    RecordingLog caseLog;
    EXPECT_EQ(ReadKeyDefinitionFile(c.path, table, block, caseLog), 0);
    EXPECT_EQ(caseLog.text(), "\r\nCannot read file: " + std::string(c.reason));
    EXPECT_EQ(block.bytes, blockBefore.bytes);
    for (std::size_t k = 0; k < kKeyTableSize; ++k) {
      EXPECT_EQ(table[k].bytes, tableBefore[k].bytes) << k;
    }
  }
}

TEST_F(KeyDefinitionReaderTest, AFileWithoutKeyDefinitionsIsAFailedReadThatKeepsTheImages) {
  Read("[GLOBAL_PARAMETERS]\nNumber_Of_Keys=48\n[KEY2]\nLevel_1_Codes=1c\n");
  const KeyTable tableBefore = table;
  const GlobalParameterBlock blockBefore = block;
  const std::string junk(
      "\x7f"
      "ELF\x02\x01\x01\0\0\0[\xff\xfe]\r\nKEY=1\n\x89PNG",
      25);
  for (const std::string& text :
       {std::string(), junk, std::string("[Settings]\nNumber_Of_Keys=48\n[KEY66]\n")}) {
    RecordingLog caseLog;
    EXPECT_EQ(ReadKeyDefinitionFile(folder.Write("wrong.ckd", text), table, block, caseLog), 0);
    EXPECT_EQ(caseLog.text(), "\r\nCannot read file: no key definitions found.");
    EXPECT_EQ(block.bytes, blockBefore.bytes);
    for (std::size_t k = 0; k < kKeyTableSize; ++k) {
      EXPECT_EQ(table[k].bytes, tableBefore[k].bytes) << k;
    }
  }
}

TEST_F(KeyDefinitionReaderTest, OneKeySectionAloneIsEnough) {
  EXPECT_EQ(Read("[key65]\nLevel_2_Codes=1c\n"), 24);
  EXPECT_EQ(At(65, KeyRecord::kLevel2Length), 2);
  EXPECT_EQ(log.text(), "\r\nCKD File Type: unknown (loading 24 keys)");
}

TEST(HexPairToCode, DigitRule) {
  struct Case {
    std::string_view pair;
    std::uint8_t code;
  };
  const Case cases[] = {
      {"1c", 0x1C},
      {"01", 0x01},
      {"e4", 0xE4},
      {"e3", 0xE3},
      {"f0", 0xE3},
      {"e5", 0x00},
      {"ff", 0x00},
      {"00", 0x00},
      {"A1", 0xA1},     // uppercase first digit
      {"1A", 0x00},     // 0xFA
      {"2A", 0x0A},     // uppercase second digit: 2 * 16 - 22
      {"g0", 0x00},     // 0x100
      {"0\xA0", 0x70},  // a signed character: -96 - 48 = -144
      {"\x80"
       "0",
       0x00},  // -176 * 16 = -2816, 0 modulo 256
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HexPairToCode(c.pair[0], c.pair[1]), c.code) << c.pair;
  }
}

TEST(ConvertCodeText, StopsAtTheCapacityItIsGiven) {
  KeyRecord record{};
  ConvertCodeText(record, 2, "0102030405", 5);
  EXPECT_EQ(record.bytes[KeyRecord::kLevel2Length], 0);
  ConvertCodeText(record, 2, "01020304", 5);
  EXPECT_EQ(record.bytes[KeyRecord::kLevel2Length], 5);
  // Never beyond the level's own area, whatever the capacity says.
  ConvertCodeText(record, 2, Repeat("11", 200), 224);
  EXPECT_EQ(record.bytes[KeyRecord::kLevel2Length], 0);
  ConvertCodeText(record, 3, "01", 224);
  EXPECT_EQ(record.bytes[KeyRecord::kLevel2Length], 0);
}

TEST(ConvertCodeText, SaysHowItEnded) {
  KeyRecord record{};
  CodeTextOutcome outcome = ConvertCodeText(record, 1, "1c2d3", 224);
  EXPECT_EQ(outcome.stop, CodeTextStop::kEnded);
  EXPECT_EQ(outcome.codesWritten, 2u);
  EXPECT_TRUE(outcome.unpairedIgnored);
  outcome = ConvertCodeText(record, 1, "1c2de5", 224);
  EXPECT_EQ(outcome.stop, CodeTextStop::kRejectedPair);
  EXPECT_EQ(outcome.pairIndex, 2u);
  EXPECT_EQ(std::string({outcome.first, outcome.second}), "e5");
  EXPECT_EQ(ConvertCodeText(record, 2, "01020304", 4).stop, CodeTextStop::kCapacity);
}

TEST_F(KeyDefinitionReaderTest, DiagnosticsComeFromTheSamePassAsTheImages) {
  const std::string text =
      "[GLOBAL_PARAMETERS]\nNumber_Of_Keys=48\nCharacter_Pacing=260\n[KEY3]\nKeyType=2\n"
      "[KEY7]\nKeyType=2\n[KEY9]\nKeyType=2\nL2_MacroMode=3\nLevel_1_Codes=" +
      Repeat("1c", 112) + "\nLevel_2_Codes=12f012\n";
  auto diagnostics = std::make_unique<KeyDefinitionDiagnostics>();
  ASSERT_EQ(
      ReadKeyDefinitionFile(folder.Write("keys.ckd", text), table, block, log, diagnostics.get()),
      48);
  EXPECT_TRUE(diagnostics->fileRead);
  EXPECT_EQ(diagnostics->keyCount, 48);
  EXPECT_EQ(diagnostics->globals[kGlobalCharacterPacing], "260");
  EXPECT_EQ(diagnostics->globalValues[kGlobalCharacterPacing], 260);
  EXPECT_FALSE(diagnostics->globals[kGlobalModelNumber].has_value());
  EXPECT_FALSE(diagnostics->keys[3].keyTypeIgnored);
  EXPECT_TRUE(diagnostics->keys[9].keyTypeIgnored);
  const LevelReading& level1 = diagnostics->keys[9].levels[0];
  EXPECT_EQ(level1.capacity, 112);
  EXPECT_EQ(level1.conversion.stop, CodeTextStop::kCapacity);
  const LevelReading& level2 = diagnostics->keys[9].levels[1];
  EXPECT_EQ(level2.mode, "3");
  EXPECT_FALSE(level2.modifierPattern);  // patterns apply in mode 0 only
  EXPECT_FALSE(diagnostics->keys[10].sectionPresent);

  // The same bytes read from memory give the same images.
  auto fromBytes = std::make_unique<KeyTable>();
  GlobalParameterBlock blockFromBytes;
  test::RecordingLog bytesLog;
  EXPECT_EQ(ReadKeyDefinitionBytes(text, *fromBytes, blockFromBytes, bytesLog), 48);
  EXPECT_EQ(blockFromBytes.bytes, block.bytes);
  for (std::size_t k = 0; k < kKeyTableSize; ++k)
    EXPECT_EQ((*fromBytes)[k].bytes, table[k].bytes) << k;
  EXPECT_EQ(bytesLog.text(), log.text());
}

}  // namespace
}  // namespace tdxx
