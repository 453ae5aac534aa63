// The open-file dialog as Open uses it: typed names taken as typed, the filter entries.

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "GuiHarness.h"
#include "OpenDialogProbe.h"

namespace tdxx::test {
namespace {

OpenFileRequest OpenRequest(const std::string& folder, int filterIndex) {
  OpenFileRequest request;
  request.title = "Open CKD file (or other file type)";
  request.filter =
      "Custom Key Definitions (*.ckd)|*.ckd|Flash Drive Copy (*.bin)|*.bin|Firmware Upgrade "
      "(*.upg)|*.upg|Any File(*.*)|*.*";
  request.filterIndex = filterIndex;
  request.defaultExtension = "*.ckd";
  request.startFolder = folder;
  return request;
}

// The dialog's default extension ".ckd": a name typed without an extension opens NAME.ckd when
// that file exists (even beside a file of the typed name), else the name as typed.
TEST(OpenFileDialog, ANameTypedWithoutExtensionOpensTheCkdFileOfThatName) {
  GuiHarness gui;
  gui.frmMain.show();
  const std::string folder = gui.app.state.macroFilesFolder;
  gui.temp.Write("docs/Quorvane/KeysmithTDxx/Macro_Files/notes", "plain text");
  gui.temp.Write("docs/Quorvane/KeysmithTDxx/Macro_Files/notes.ckd",
                 "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n[KEY0]\r\nLevel_1_Codes=1c\r\n");
  gui.temp.Write("docs/Quorvane/KeysmithTDxx/Macro_Files/memo", "plain text");
  // The typing waits for the dialog's folder to be listed: the dialog selects the file chosen
  // last only then, which would replace a name typed before.
  const auto typeInDialog = [&gui](const std::string& typed) {
    gui.OnNextModal([typed](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      auto* model = dialog->findChild<QFileSystemModel*>();
      ASSERT_NE(model, nullptr);
      EXPECT_TRUE(QTest::qWaitFor([dialog, model] {
        return model->rowCount(model->index(dialog->directory().absolutePath())) >= 1;
      }));
      QTest::qWait(50);
      GuiHarness::ChooseInDialog(*dialog, typed);
    });
    QTest::mouseClick(gui.Find<QToolButton>("btnOpen"), Qt::LeftButton);
  };
  typeInDialog("notes");
  EXPECT_EQ(gui.frmMain.FileNameText(), folder + "/notes.ckd");
  EXPECT_EQ(gui.app.state.loadedFileType, kFileCkd);

  typeInDialog("memo");
  EXPECT_EQ(gui.frmMain.FileNameText(), folder + "/memo");
  EXPECT_TRUE(gui.frmMain.progressText().ends_with("\r\nOpen file.  \r\nINVALID FILE TYPE.\r\n"));
  EXPECT_EQ(gui.app.state.loadedFileType, 0);
}

TEST(OpenFileDialog, EachEntryShowsItsTextAndAnyFileListsNamesWithoutADot) {
  GuiHarness gui;
  const struct {
    int index;
    const char* shown;
    QStringList patterns;
  } cases[] = {{1, "Custom Key Definitions (*.ckd)", {"*.ckd"}},
               {2, "Flash Drive Copy (*.bin)", {"*.bin"}},
               {3, "Firmware Upgrade (*.upg)", {"*.upg"}},
               {4, "Any File(*.*)", {"*"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    gui.OnNextModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(ShownFilter(*dialog), c.shown);
      EXPECT_EQ(ListedPatterns(*dialog), c.patterns);
      dialog->reject();
    });
    EXPECT_EQ(gui.frmMain.ChooseFileToOpen(OpenRequest(gui.app.state.macroFilesFolder, c.index)),
              std::nullopt);
  }
}

}  // namespace
}  // namespace tdxx::test
