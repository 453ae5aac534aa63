// What the Key Map window asks of the main window's state: which file Options > "Key Map..."
// shows, where its dialogs start, the model a new file is offered for, and a chord appended
// from "Choose key...".

#include <gtest/gtest.h>

#include <filesystem>

#include "AppFixture.h"
#include "app/KeyMapController.h"
#include "app/KeyMapWindowOpening.h"
#include "keymap/NewKeyMapFile.h"

namespace tdxx::test {
namespace {

class KeyMapWindowOpening : public AppFixture {
 protected:
  void SetUp() override {
    Start();
    controller = std::make_unique<KeyMapController>(*app, *port);
  }

  std::string Example(const char* name) {
    const std::string copy = temp / name;
    std::filesystem::copy_file(std::string(TDXX_EXAMPLES_DIR) + "/" + name, copy);
    return copy;
  }

  // The main window's state after Open File read `path`.
  void Loaded(const std::string& path, int keyCount) {
    app->state.loadedFileType = kFileCkd;
    app->state.dataFileName = path;
    app->state.keyCount = keyCount;
  }

  std::unique_ptr<KeyMapController> controller;
};

TEST_F(KeyMapWindowOpening, ShowsTheLoadedFileOnceAndKeepsAnyDocumentWhenNothingIsLoaded) {
  EXPECT_EQ(ChooseKeyMapOpening(*controller, app->state), KeyMapOpening::kNewFile);
  controller->NewFile(NewFileModels()[0]);
  EXPECT_EQ(ChooseKeyMapOpening(*controller, app->state), KeyMapOpening::kShowAsIs);

  // A loaded file replaces a new document, and a document of another file.
  const std::string letters = Example("td-b-letters.ckd");
  const std::string functions = Example("td-a-function-keys.ckd");
  Loaded(letters, 48);
  EXPECT_EQ(ChooseKeyMapOpening(*controller, app->state), KeyMapOpening::kOpenLoaded);
  std::string error;
  ASSERT_TRUE(controller->OpenFile(functions, error)) << error;
  EXPECT_EQ(ChooseKeyMapOpening(*controller, app->state), KeyMapOpening::kOpenLoaded);
  ASSERT_TRUE(controller->OpenLoadedFile(error)) << error;
  EXPECT_EQ(ChooseKeyMapOpening(*controller, app->state), KeyMapOpening::kShowAsIs);

  // A BIN or UPG file loaded is no key definitions: the document stays.
  app->state.loadedFileType = kFileBin;
  EXPECT_EQ(ChooseKeyMapOpening(*controller, app->state), KeyMapOpening::kShowAsIs);
}

TEST_F(KeyMapWindowOpening, DialogsStartInTheDocumentsFolderElseInMacroFiles) {
  controller->NewFile(NewFileModels()[1]);
  EXPECT_EQ(KeyMapDialogFolder(*controller, app->state), app->state.macroFilesFolder);
  const std::string letters = Example("td-b-letters.ckd");
  std::string error;
  ASSERT_TRUE(controller->OpenFile(letters, error)) << error;
  EXPECT_EQ(KeyMapDialogFolder(*controller, app->state), temp.path());
}

TEST_F(KeyMapWindowOpening, ANewFileIsOfferedForTheLoadedFilesModel) {
  const auto models = NewFileModels();
  EXPECT_EQ(SuggestedNewFileModel(app->state), 0);
  for (std::size_t i = 0; i < models.size(); ++i) {
    Loaded("keys.ckd", models[i].keyCount);
    EXPECT_EQ(SuggestedNewFileModel(app->state), static_cast<int>(i)) << models[i].name;
  }
  // A 35-key file has no new-file model.
  Loaded("keys.ckd", 35);
  EXPECT_EQ(SuggestedNewFileModel(app->state), 0);
}

TEST_F(KeyMapWindowOpening, AChosenChordIsAppendedToTheLevelAndABadOneChangesNothing) {
  const std::string letters = Example("td-b-letters.ckd");
  std::string error;
  ASSERT_TRUE(controller->OpenFile(letters, error)) << error;
  // Key 4's level 1 holds 03 (F5).
  ASSERT_EQ(controller->Key(4).levels[0].codeText, "03");
  EXPECT_TRUE(AppendChord(*controller, 4, 1, "Ctrl+C").ok);
  EXPECT_EQ(controller->Key(4).levels[0].codeText, "031421f021f014");
  const EditResult bad = AppendChord(*controller, 4, 2, "Ctrl+NoSuchKey");
  EXPECT_FALSE(bad.ok);
  EXPECT_NE(bad.reason.find("NoSuchKey"), std::string::npos) << bad.reason;
  EXPECT_EQ(controller->Key(4).levels[1].codeText, "2e");
  controller->Undo();
  EXPECT_EQ(controller->Key(4).levels[0].codeText, "03");
}

}  // namespace
}  // namespace tdxx::test
