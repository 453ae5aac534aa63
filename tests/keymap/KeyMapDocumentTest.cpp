#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "files/KeyDefinitionReader.h"
#include "keymap/KeyCodeTextInput.h"
#include "keymap/KeyMapDocument.h"

namespace tdxx {
namespace {

using test::ReadWholeFile;
using test::TempFolder;

// A file as people write them: a comment, mixed case, blanks, quotes, another section, LF only
// in one place and CR LF elsewhere, no line end at the very end.
constexpr std::string_view kHandWritten =
    "; my keys\r\n"
    "[Global_Parameters]\r\n"
    "number_of_keys = 24\r\n"
    "Character_Pacing=0x04\r\n"
    "\r\n"
    "[NOTES]\n"
    "Level_1_Codes=not mine\n"
    "[key3]\r\n"
    "; ctrl-a\r\n"
    "LEVEL_1_CODES = \"1c\"\r\n"
    "L1_MacroMode=0\r\n"
    "[KEY4]\r\n"
    "Level_2_Codes=16";

KeyMapDocument Opened(const std::string& path) {
  std::string error;
  std::optional<KeyMapDocument> document = KeyMapDocument::Open(path, error);
  EXPECT_TRUE(document) << error;
  return std::move(*document);
}

TEST(KeyMapDocument, UneditedSaveIsByteIdentical) {
  TempFolder temp;
  const std::string path = temp.Write("keys.ckd", kHandWritten);
  KeyMapDocument document = Opened(path);
  EXPECT_FALSE(document.modified());
  const SaveOutcome outcome = SaveKeyMapDocument(document, path);
  ASSERT_TRUE(outcome.saved) << outcome.message;
  EXPECT_EQ(ReadWholeFile(path), kHandWritten);
  // No temporary file is left beside it.
  EXPECT_EQ(temp.Entries(), std::vector<std::string>{"keys.ckd"});
}

TEST(KeyMapDocument, AnEditRewritesOnlyItsValue) {
  TempFolder temp;
  const std::string path = temp.Write("keys.ckd", kHandWritten);
  KeyMapDocument document = Opened(path);
  ASSERT_TRUE(document.SetCodeText(3, 1, CodeTextForChord("Ctrl+C").codeText).ok);
  ASSERT_TRUE(document.SetCodeText(4, 1, "05").ok);             // a key the section lacks
  ASSERT_TRUE(document.SetMode(3, 1, 0).ok);                    // the same value: nothing written
  ASSERT_TRUE(document.SetGlobal("character_pacing", "4").ok);  // 0x04 already means 4
  ASSERT_TRUE(document.SetKeyType(9, 1).ok);                    // a section the file lacks
  EXPECT_TRUE(document.modified());
  const SaveOutcome outcome = SaveKeyMapDocument(document, path);
  ASSERT_TRUE(outcome.saved) << outcome.message;
  EXPECT_EQ(ReadWholeFile(path),
            "; my keys\r\n"
            "[Global_Parameters]\r\n"
            "number_of_keys = 24\r\n"
            "Character_Pacing=0x04\r\n"
            "\r\n"
            "[NOTES]\n"
            "Level_1_Codes=not mine\n"
            "[key3]\r\n"
            "; ctrl-a\r\n"
            "LEVEL_1_CODES=1421f021f014\r\n"
            "L1_MacroMode=0\r\n"
            "[KEY4]\r\n"
            "Level_2_Codes=16\r\n"
            "Level_1_Codes=05\r\n"
            "\r\n"
            "[KEY9]\r\n"
            "KeyType=1\r\n");
  EXPECT_FALSE(document.modified());
  // What the document shows is what the reader makes of the saved file.
  auto table = std::make_unique<KeyTable>();
  GlobalParameterBlock block;
  test::RecordingLog log;
  EXPECT_EQ(ReadKeyDefinitionFile(path, *table, block, log), 24);
  EXPECT_EQ(block.bytes, document.block().bytes);
  EXPECT_EQ((*table)[3].bytes, document.table()[3].bytes);
  EXPECT_EQ(block.bytes[GlobalParameterBlock::kKeyType1Slots], 9);
}

TEST(KeyMapDocument, ImagesFollowEditsAndUndoingValuesRestoresThem) {
  TempFolder temp;
  KeyMapDocument document = Opened(temp.Write("keys.ckd", kHandWritten));
  const KeyMapValues before = document.values();
  const KeyTable tableBefore = document.table();
  ASSERT_TRUE(document.SetCodeText(3, 1, "1cf01c").ok);
  ASSERT_TRUE(document.SetAutoRepeat(3, 1, true).ok);
  const LevelView level = document.Level(3, 1);
  EXPECT_EQ(level.summary, "A");
  EXPECT_EQ(level.sentLength, 4);
  EXPECT_EQ(level.sentCodes, (std::vector<std::uint8_t>{0x1C, 0xE3, 0x1C, 0x00}));
  EXPECT_EQ(level.flags, kFlagHasCodes | kFlagAutoRepeat);
  document.SetValues(before);
  EXPECT_FALSE(document.modified());
  EXPECT_EQ(document.table()[3].bytes, tableBefore[3].bytes);
  EXPECT_EQ(document.BytesToSave(), kHandWritten);
}

TEST(KeyMapDocument, EditsTheKeypadCouldNotHoldAreRefused) {
  TempFolder temp;
  KeyMapDocument document = Opened(temp.Write("keys.ckd", kHandWritten));
  std::string codes150;
  for (int i = 0; i < 150; ++i)
    codes150 += "1c";
  EXPECT_TRUE(document.SetCodeText(5, 1, codes150).ok);
  // Level 2 would take level 1's room.
  const EditResult level2 = document.SetCodeText(5, 2, "1c");
  EXPECT_FALSE(level2.ok);
  EXPECT_EQ(level2.reason,
            "level 1 holds 150 codes; with level 2 not empty it has room for 111 only");
  EXPECT_FALSE(document.SetCodeText(6, 1, codes150 + codes150).ok);
  const EditResult tooLong = document.SetCodeText(4, 1, codes150);  // key 4 has a level 2
  EXPECT_FALSE(tooLong.ok);
  EXPECT_EQ(tooLong.reason,
            "150 codes do not fit level 1, which holds at most 111 while level 2 is not empty");
  EXPECT_FALSE(document.SetMode(5, 1, 4).ok);
  EXPECT_FALSE(document.SetKeyType(5, 3).ok);
  ASSERT_TRUE(document.SetKeyType(1, 2).ok);
  ASSERT_TRUE(document.SetKeyType(2, 2).ok);
  const EditResult third = document.SetKeyType(7, 2);
  EXPECT_FALSE(third.ok);
  EXPECT_EQ(third.reason, "keys 1 and 2 already take both slots of key type 2");
  EXPECT_FALSE(document.SetGlobal("Character_Pacing", "260").ok);
  EXPECT_FALSE(document.SetGlobal("Colour", "1").ok);
  EXPECT_FALSE(document.SetGlobal("LED_Function", "on").ok);
  EXPECT_TRUE(document.SetGlobal("Model_Number", "Keysmith916").ok);
}

TEST(KeyMapDocument, NewFilesHoldTheirModelsKeys) {
  for (const NewFileModel& model : NewFileModels()) {
    TempFolder temp;
    KeyMapDocument document = KeyMapDocument::New(model);
    EXPECT_TRUE(document.isNew());
    EXPECT_EQ(document.keyCount(), model.keyCount);
    EXPECT_TRUE(document.problems().empty());
    ASSERT_TRUE(document.SetCodeText(0, 1, "05").ok);
    const std::string path = temp / "new.ckd";
    ASSERT_TRUE(SaveKeyMapDocument(document, path).saved);
    const std::string text = ReadWholeFile(path);
    EXPECT_TRUE(text.starts_with("; Key definitions for a " + std::string(model.name)));
    EXPECT_NE(text.find("[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=" + std::to_string(model.keyCount) +
                        "\r\nModel_Number=None\r\nCharacter_Pacing=4\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[KEY0]\r\nL1_MacroMode=0\r\nL1_AutoRepeat=0\r\nLevel_1_Codes=05\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("[KEY" + std::to_string(model.keyCount - 1) + "]"), std::string::npos);
    EXPECT_EQ(text.find("[KEY" + std::to_string(model.keyCount) + "]"), std::string::npos);
    EXPECT_EQ(document.path(), path);
  }
  EXPECT_EQ(FindNewFileModel("TD-B")->keyCount, 48);
  EXPECT_EQ(FindNewFileModel("td-x"), nullptr);
}

TEST(KeyMapDocument, AFailedSaveSaysWhyAndLeavesTheFile) {
  TempFolder temp;
  const std::string path = temp.Write("keys.ckd", kHandWritten);
  KeyMapDocument document = Opened(path);
  ASSERT_TRUE(document.SetCodeText(3, 1, "05").ok);
  const SaveOutcome intoMissingFolder = SaveKeyMapDocument(document, temp / "gone/keys.ckd");
  EXPECT_FALSE(intoMissingFolder.saved);
  EXPECT_NE(intoMissingFolder.message.find("No such file or directory"), std::string::npos)
      << intoMissingFolder.message;
  EXPECT_TRUE(document.modified());
  const SaveOutcome ontoFolder = SaveKeyMapDocument(document, temp.path());
  EXPECT_FALSE(ontoFolder.saved);

  if (::geteuid() != 0) {  // root writes into read-only folders
    ASSERT_EQ(::chmod(temp.path().c_str(), 0555), 0);
    const SaveOutcome readOnly = SaveKeyMapDocument(document, path);
    ::chmod(temp.path().c_str(), 0755);
    EXPECT_FALSE(readOnly.saved);
    EXPECT_NE(readOnly.message.find("Permission denied"), std::string::npos) << readOnly.message;
    EXPECT_EQ(ReadWholeFile(path), kHandWritten);
  }
}

TEST(KeyMapDocument, OpenRefusesWhatIsNoKeyDefinitionFile) {
  TempFolder temp;
  std::string error;
  EXPECT_FALSE(KeyMapDocument::Open(temp / "missing.ckd", error));
  EXPECT_NE(error.find("No such file"), std::string::npos);
  EXPECT_FALSE(KeyMapDocument::Open(temp.Write("other.ckd", "[OTHER]\nx=1\n"), error));
  EXPECT_NE(error.find("no key definitions"), std::string::npos);
}

}  // namespace
}  // namespace tdxx
