#include "AppFixture.h"
#include "app/KeyMapController.h"
#include "files/KeyLevelLayout.h"

namespace tdxx::test {
namespace {

class KeyMapControllerTest : public AppFixture {
 protected:
  void SetUp() override {
    Start();
    controller = std::make_unique<KeyMapController>(*app, *port);
  }

  // Opens `text` as keys.ckd with Open File, as a person would before opening the Key Map.
  std::string OpenWithOpenFile(const std::string& name, const std::string& text) {
    const std::string path = temp.Write(name, text);
    port->nextOpenChoice = path;
    commands->btnOpenClick();
    return path;
  }

  std::unique_ptr<KeyMapController> controller;
};

constexpr const char* kFile =
    "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n[KEY0]\r\nLevel_1_Codes=05\r\n[KEY1]\r\n"
    "Level_1_Codes=1ce5\r\n";

TEST_F(KeyMapControllerTest, OpenFileWarnsOfProblemsAfterItsOwnLines) {
  port->log.clear();
  OpenWithOpenFile("keys.ckd", kFile);
  EXPECT_EQ(port->log,
            "\r\nOpen file.  \r\nCKD File Type: TD-A (loading 24 keys)\r\nFile read "
            "SUCCESSFUL.\r\n\r\nWarning: 1 key will not be programmed as written (see Key "
            "Map).\r\n");
  port->log.clear();
  OpenWithOpenFile("clean.ckd", "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n");
  EXPECT_EQ(port->log,
            "\r\nOpen file.  \r\nCKD File Type: TD-A (loading 24 keys)\r\nFile read "
            "SUCCESSFUL.\r\n");
}

TEST_F(KeyMapControllerTest, ShowsTheLoadedFileWithItsProblems) {
  std::string error;
  EXPECT_FALSE(controller->OpenLoadedFile(error));
  EXPECT_FALSE(error.empty());
  OpenWithOpenFile("keys.ckd", kFile);
  ASSERT_TRUE(controller->OpenLoadedFile(error)) << error;
  EXPECT_EQ(controller->CapCount(), 24);
  EXPECT_EQ(controller->Title(), "Key Map - keys.ckd");
  EXPECT_EQ(controller->Key(0).levels[0].summary, "F1");
  EXPECT_FALSE(controller->Key(0).hasProblem);
  EXPECT_TRUE(controller->Key(1).hasProblem);
  ASSERT_EQ(controller->ProblemsOfKey(1).size(), 1u);
  EXPECT_EQ(controller->ProblemsOfKey(1)[0].level, 1);
  const std::vector<GlobalSettingView> globals = controller->GlobalSettings();
  ASSERT_EQ(globals.size(), 8u);
  EXPECT_EQ(globals[2].name, "Character_Pacing");
  EXPECT_EQ(globals[2].sent, 4);
  EXPECT_FALSE(globals[2].inFile);
  EXPECT_EQ(controller->CloseRequest(), KeyMapCloseDecision::kClose);
}

TEST_F(KeyMapControllerTest, EditsUndoRedoAndTheCloseQuestion) {
  OpenWithOpenFile("keys.ckd", kFile);
  std::string error;
  ASSERT_TRUE(controller->OpenLoadedFile(error));
  controller->SelectKey(2);
  EXPECT_EQ(controller->selectedKey(), 2);

  ASSERT_TRUE(controller->SetTypedText(2, 1, "Hi").ok);
  EXPECT_EQ(controller->Key(2).levels[0].codeText, "1233f033f01243f043");
  // Recorded on the computer's keyboard: Ctrl down, C down, C up, Ctrl up (Linux key codes).
  ASSERT_TRUE(controller->SetRecorded(2, 2, {{true, 29}, {true, 46}, {false, 46}, {false, 29}}).ok);
  EXPECT_EQ(controller->Key(2).levels[1].summary, "Ctrl+C");
  // Held Ctrl repeating, and Enter released from before the recording: left out.
  ASSERT_TRUE(
      controller
          ->SetRecorded(4, 1,
                        {{false, 28}, {true, 29}, {true, 29}, {true, 46}, {false, 46}, {false, 29}})
          .ok);
  EXPECT_EQ(controller->Key(4).levels[0].codeText, "1421f021f014");
  controller->Undo();
  ASSERT_TRUE(controller->AppendChosenKey(2, 2, *FindKeyByName("F13")).ok);
  EXPECT_EQ(controller->Key(2).levels[1].codeText, "1421f021f01408f008");
  ASSERT_TRUE(controller->SetChord(3, 1, "Ctrl+Shift+F5").ok);
  ASSERT_TRUE(controller->SetMode(3, 1, 3).ok);
  EXPECT_EQ(controller->Key(3).levels[0].flags, kFlagHasCodes | kFlagMacroMode3);
  EXPECT_TRUE(controller->dirty());
  EXPECT_EQ(controller->Title(), "Key Map - keys.ckd *");
  EXPECT_EQ(controller->CloseRequest(), KeyMapCloseDecision::kAskToSave);
  EXPECT_EQ(controller->CloseQuestion(), "Save changes to keys.ckd before closing?");

  // A refused edit changes nothing and cannot be undone.
  const EditResult refused = controller->SetCodeText(4, 1, "1ce5");
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.reason.find("e5"), std::string::npos);
  EXPECT_FALSE(controller->SetRecorded(4, 1, {{true, 0x2ff}}).ok);

  controller->Undo();  // the mode
  EXPECT_EQ(controller->Key(3).levels[0].mode, 0);
  controller->Undo();  // the chord
  controller->Undo();  // F13
  controller->Undo();  // the recording
  EXPECT_EQ(controller->Key(2).levels[1].codeText, "");
  controller->Redo();
  EXPECT_EQ(controller->Key(2).levels[1].summary, "Ctrl+C");
  controller->Undo();
  controller->Undo();  // the typed text: back to the file as read
  EXPECT_FALSE(controller->CanUndo());
  EXPECT_FALSE(controller->dirty());
  ASSERT_TRUE(controller->Clear(0, 1).ok);
  EXPECT_FALSE(controller->CanRedo());  // a new edit drops what could be redone
  EXPECT_EQ(controller->Key(0).levels[0].summary, "");
}

TEST_F(KeyMapControllerTest, ASavedFileBecomesTheLoadedFile) {
  const std::string path = OpenWithOpenFile("keys.ckd", kFile);
  std::string error;
  ASSERT_TRUE(controller->OpenLoadedFile(error));
  ASSERT_TRUE(controller->SetCodeText(1, 1, "1c").ok);  // mends key 1
  ASSERT_TRUE(controller->SetChord(5, 1, "Enter").ok);
  port->log.clear();
  const SaveOutcome outcome = controller->Save();
  ASSERT_TRUE(outcome.saved) << outcome.message;
  EXPECT_FALSE(controller->dirty());
  EXPECT_EQ(app->state.loadedFileType, kFileCkd);
  EXPECT_EQ(app->state.keyCount, 24);
  EXPECT_EQ(app->state.dataFileName, path);
  EXPECT_EQ(port->log, "\r\nCKD File Type: TD-A (loading 24 keys)\r\nFile read SUCCESSFUL.\r\n");
  // The images a Download sends are the saved ones.
  const KeyRecord& key5 = app->keyTable[5];
  EXPECT_EQ(key5.bytes[KeyRecord::kLevel1Length], 4);
  EXPECT_EQ(key5.bytes[KeyRecord::kLevel1Codes], 0x5A);
  EXPECT_EQ(app->keyTable[1].bytes[KeyRecord::kLevel1Length], 2);
}

TEST_F(KeyMapControllerTest, NewFileNeedsSaveAs) {
  controller->NewFile(*FindNewFileModel("wk-c"));
  EXPECT_EQ(controller->CapCount(), 66);
  EXPECT_EQ(controller->Title(), "Key Map - new WK-C file");
  EXPECT_TRUE(controller->NeedsPathToSave());
  ASSERT_TRUE(controller->SetGlobal("LED_Function", "2").ok);
  EXPECT_EQ(controller->CloseQuestion(), "Save changes to the new WK-C file before closing?");
  EXPECT_FALSE(controller->Save().saved);
  const std::string path = temp / "wkc.ckd";
  ASSERT_TRUE(controller->SaveAs(path).saved);
  EXPECT_FALSE(controller->NeedsPathToSave());
  EXPECT_EQ(controller->Title(), "Key Map - wkc.ckd");
  EXPECT_EQ(app->state.keyCount, 66);
  EXPECT_EQ(app->globalBlock.bytes[GlobalParameterBlock::kLedFunction], 2);
}

}  // namespace
}  // namespace tdxx::test
