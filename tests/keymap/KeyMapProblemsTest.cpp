#include <gtest/gtest.h>

#include "RecordingLog.h"
#include "files/KeyDefinitionReader.h"
#include "keymap/KeyMapProblems.h"

namespace tdxx {
namespace {

std::string Repeat(std::string_view pair, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += pair;
  return text;
}

// The problems the reader finds in a file of `text`.
std::vector<KeyMapProblem> ProblemsOf(const std::string& text, int deviceKeyLimit = 0) {
  auto table = std::make_unique<KeyTable>();
  GlobalParameterBlock block;
  auto diagnostics = std::make_unique<KeyDefinitionDiagnostics>();
  test::RecordingLog log;
  EXPECT_NE(ReadKeyDefinitionBytes(text, *table, block, log, diagnostics.get()), 0);
  return FindKeyMapProblems(*diagnostics, *table, deviceKeyLimit);
}

// The one problem of a file, which must name `key` and `level` and contain `part`.
void ExpectOneProblem(const std::string& file, int key, int level, std::string_view part) {
  const std::vector<KeyMapProblem> problems = ProblemsOf(file);
  ASSERT_EQ(problems.size(), 1u) << file;
  EXPECT_EQ(problems[0].key, key) << file;
  EXPECT_EQ(problems[0].level, level) << file;
  EXPECT_NE(problems[0].text.find(part), std::string::npos) << problems[0].text;
}

constexpr std::string_view kHeader = "[GLOBAL_PARAMETERS]\nNumber_Of_Keys=24\n";

std::string Key(int key, const std::string& entries) {
  return std::string(kHeader) + "[KEY" + std::to_string(key) + "]\n" + entries + "\n";
}

TEST(KeyMapProblems, EveryLevelThatEndsEmptySaysWhy) {
  ExpectOneProblem(Key(3, "Level_1_Codes=1ce5"), 3, 1, "code 2 \"e5\" is above e4");
  ExpectOneProblem(Key(3, "Level_2_Codes=00"), 3, 2, "is 00");
  ExpectOneProblem(Key(0, "Level_1_Codes=1A"), 0, 1, "uppercase second digit");
  ExpectOneProblem(Key(0, "Level_1_Codes=1cg0"), 0, 1, "code 2 \"g0\" is not a hexadecimal code");
  ExpectOneProblem(Key(0, "Level_1_Codes=1"), 0, 1, "holds no whole code");
  ExpectOneProblem(Key(5, "Level_1_Codes=" + Repeat("1c", 224)), 5, 1,
                   "224 codes are more than the level holds (223)");
  ExpectOneProblem(Key(5, "Level_2_Codes=" + Repeat("1c", 112)), 5, 2, "(111)");
  ExpectOneProblem(Key(5, "Level_1_Codes=" + Repeat("1c", 112) + "\nLevel_2_Codes=1c"), 5, 1,
                   "room for 111 codes only because level 2 is not empty");
  // Mode 0 modifier patterns and full levels are fine.
  EXPECT_TRUE(ProblemsOf(Key(5, "Level_1_Codes=" + Repeat("1c", 223))).empty());
  EXPECT_TRUE(ProblemsOf(Key(5, "Level_1_Codes=12f012\nLevel_2_Codes=e027")).empty());
  // An empty text is no problem, whatever else the level says.
  EXPECT_TRUE(ProblemsOf(Key(5, "Level_1_Codes=\nL1_MacroMode=2\nL1_AutoRepeat=1")).empty());
}

TEST(KeyMapProblems, CodesSentOtherThanWritten) {
  ExpectOneProblem(Key(1, "Level_1_Codes=1c2A"), 1, 1,
                   "code 2 \"2A\" has an uppercase second "
                   "digit: it is sent as 0a");
  ExpectOneProblem(Key(1, "Level_1_Codes=1c1"), 1, 1, "the last character \"1\"");
  // The reader's digit rule turns some stray characters into codes.
  ExpectOneProblem(Key(1, "Level_1_Codes=zz"), 1, 1, "\"zz\" is not hexadecimal: it is sent as 53");
}

TEST(KeyMapProblems, KeysAndGlobalSettings) {
  // Key type 2 on keys 3, 7 and 9: the third is ignored.
  ExpectOneProblem(
      std::string(kHeader) + "[KEY3]\nKeyType=2\n[KEY7]\nKeyType=2\n[KEY9]\nKeyType=2\n", 9, 0,
      "KeyType 2 is ignored");
  ExpectOneProblem(Key(30, "Level_1_Codes=1c"), 30, 0, "not sent: the file has 24 keys");
  ExpectOneProblem("[GLOBAL_PARAMETERS]\nNumber_Of_Keys=24\nCharacter_Pacing=260\n", -1, 0,
                   "Character_Pacing=260 is sent as 4");
  ExpectOneProblem("[GLOBAL_PARAMETERS]\nNumber_Of_Keys=35\n", -1, 0,
                   "Number_Of_Keys=35 is not 24, 48 or 66: Model_Number decides, and the file "
                   "loads as 24 keys");
  ExpectOneProblem(Key(2, "L1_MacroMode=two\nLevel_1_Codes=1c"), 2, 1,
                   "L1_MacroMode=two is not a number");
  EXPECT_TRUE(ProblemsOf(Key(2, "L2_MacroMode=two\nLevel_1_Codes=1c")).empty());
  // A keypad that takes 24 keys of a 48-key file.
  const std::string tdb = "[GLOBAL_PARAMETERS]\nNumber_Of_Keys=48\n[KEY30]\nLevel_1_Codes=1c\n";
  EXPECT_TRUE(ProblemsOf(tdb).empty());
  const std::vector<KeyMapProblem> onTdA = ProblemsOf(tdb, 24);
  ASSERT_EQ(onTdA.size(), 1u);
  EXPECT_EQ(ProblemText(onTdA[0]), "Key 30: holds codes but is not sent: the keypad takes 24 keys");
}

TEST(KeyMapProblems, WarningLineCountsKeys) {
  EXPECT_EQ(ProblemWarningLine({}), "");
  EXPECT_EQ(ProblemWarningLine({{3, 1, "a"}, {3, 2, "b"}, {7, 0, "c"}}),
            "\r\nWarning: 2 keys will not be programmed as written (see Key Map).\r\n");
  EXPECT_EQ(ProblemWarningLine({{3, 1, "a"}}),
            "\r\nWarning: 1 key will not be programmed as written (see Key Map).\r\n");
  EXPECT_EQ(ProblemWarningLine({{-1, 0, "a"}}),
            "\r\nWarning: the global settings will not be programmed as written (see Key "
            "Map).\r\n");
  EXPECT_EQ(ProblemWarningLine({{-1, 0, "a"}, {4, 1, "b"}}),
            "\r\nWarning: 1 key and the global settings will not be programmed as written (see "
            "Key Map).\r\n");
}

}  // namespace
}  // namespace tdxx
