// The open-file dialog as Open uses it: typed names taken as typed, the filter entries.

#include <gtest/gtest.h>

#include <QFileDialog>
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

TEST(OpenFileDialog, ANameTypedWithoutExtensionIsOpenedAsTyped) {
  GuiHarness gui;
  gui.frmMain.show();
  const std::string folder = gui.app.state.macroFilesFolder;
  gui.temp.Write("docs/Quorvane/KeysmithTDxx/Macro_Files/notes", "plain text");
  gui.temp.Write("docs/Quorvane/KeysmithTDxx/Macro_Files/notes.ckd", "[Global]\r\n");
  gui.OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, QStringLiteral("notes"));
    QTest::keyClick(name, Qt::Key_Return);
  });
  QTest::mouseClick(gui.Find<QToolButton>("btnOpen"), Qt::LeftButton);
  EXPECT_EQ(gui.frmMain.FileNameText(), folder + "/notes");
  EXPECT_EQ(gui.frmMain.progressText(), "\r\nOpen file.  \r\nINVALID FILE TYPE.\r\n");
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
