// The main window's services to the commands: panels, bar, boxes, dialogs, cursor.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>

#include "GuiHarness.h"
#include "OpenDialogProbe.h"

namespace tdxx::test {
namespace {

TEST(MainWindowPort, PanelsReadBackExactlyWhatWasSetAndShowItConverted) {
  GuiHarness gui;
  const std::string keypad = "\r\nTD-B keypad found.\r\nVersion \xE9";
  gui.frmMain.SetKeypadText(keypad);
  EXPECT_EQ(gui.frmMain.KeypadText(), keypad);
  EXPECT_EQ(gui.Find<QPlainTextEdit>("memoKeypad")->toPlainText(),
            QString::fromUtf8("\nTD-B keypad found.\nVersion \xC3\xA9"));

  const std::string path = "/home/user/Macro_Files/caf\xC3\xA9.ckd";
  gui.frmMain.SetFileNameText(path);
  gui.frmMain.SetFileTypeText("Tasterdeck Key Definitions (.CKD)");
  EXPECT_EQ(gui.frmMain.FileNameText(), path);
  EXPECT_EQ(gui.Find<QPlainTextEdit>("memoFileName")->toPlainText(), QString::fromUtf8(path));
  EXPECT_EQ(gui.Find<QLineEdit>("edFileType")->text().toStdString(),
            "Tasterdeck Key Definitions (.CKD)");
}

TEST(MainWindowPort, ProgressBarStepsByOneAndStopsAtItsEnds) {
  GuiHarness gui;
  auto* bar = gui.Find<QProgressBar>("ProgressBar1");
  gui.frmMain.SetProgressMaximum(3);
  gui.frmMain.SetProgressPosition(0);
  EXPECT_EQ(gui.frmMain.ProgressMaximum(), 3);
  for (int expected : {1, 2, 3, 3}) {
    gui.frmMain.StepProgress();
    EXPECT_EQ(bar->value(), expected);
  }
  gui.frmMain.SetProgressPosition(-5);
  EXPECT_EQ(bar->value(), 0);
}

TEST(MainWindowPort, MessageBoxShowsTextTitleIconButtonsAndReturnsTheAnswer) {
  const struct {
    MessageIcon icon;
    MessageButtons buttons;
    QMessageBox::Icon qtIcon;
    QMessageBox::StandardButton press;
    MessageResult result;
  } cases[] = {
      {MessageIcon::Warning, MessageButtons::Ok, QMessageBox::Warning, QMessageBox::Ok,
       MessageResult::Ok},
      {MessageIcon::Information, MessageButtons::Ok, QMessageBox::Information, QMessageBox::Ok,
       MessageResult::Ok},
      {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Question, QMessageBox::Yes,
       MessageResult::Yes},
      {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Question, QMessageBox::No,
       MessageResult::No},
      {MessageIcon::None, MessageButtons::Ok, QMessageBox::NoIcon, QMessageBox::Ok,
       MessageResult::Ok},
  };
  for (const auto& c : cases) {
    GuiHarness gui;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    gui.OnNextModal([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      text = box->text();
      title = box->windowTitle();
      icon = box->icon();
      buttons = box->standardButtons();
      box->button(c.press)->click();
    });
    const MessageResult result = gui.frmMain.ShowMessage(
        "The downloader will now use PRG/TMode method.\r\nTry download again.",
        "Download Method Set", c.icon, c.buttons);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(text.toStdString(),
              "The downloader will now use PRG/TMode method.\nTry download again.");
    EXPECT_EQ(title.toStdString(), "Download Method Set");
    EXPECT_EQ(icon, c.qtIcon);
    EXPECT_EQ(buttons, c.buttons == MessageButtons::YesNo
                           ? QMessageBox::Yes | QMessageBox::No
                           : QMessageBox::StandardButtons(QMessageBox::Ok));
  }
}

TEST(MainWindowPort, ErrorBoxIsTheStandardOneWithTheApplicationName) {
  GuiHarness gui;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  gui.OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    box->accept();
  });
  gui.frmMain.ShowError("Unable to write to /nowhere/TDxxLoad.ini");
  EXPECT_EQ(title.toStdString(), "TDxxLoad");
  EXPECT_EQ(text.toStdString(), "Unable to write to /nowhere/TDxxLoad.ini");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(MainWindowPort, ModalWindowsAreTheGuideWindows) {
  GuiHarness gui;
  const struct {
    ModalWindow window;
    const char* name;
  } cases[] = {{ModalWindow::FlashDrive, "frmFlashDrive"},
               {ModalWindow::TMode, "frmTMode"},
               {ModalWindow::DownloadFail, "frmDownloadFail"}};
  for (const auto& c : cases) {
    QString shown;
    gui.OnNextModal([&](QWidget* modal) {
      shown = modal->objectName();
      modal->close();
    });
    gui.frmMain.ShowModalWindow(c.window);
    EXPECT_EQ(shown.toStdString(), c.name);
    EXPECT_FALSE(QApplication::activeModalWidget());
  }
}

TEST(MainWindowPort, OpenDialogTakesTheRequestAndKeepsTheLastChosenFile) {
  GuiHarness gui;
  const std::string folder = gui.app.state.macroFilesFolder;
  const std::string chosen = gui.temp.Write("docs/Quorvane/KeysmithTDxx/Macro_Files/keys.bin", "x");
  OpenFileRequest request;
  request.title = "Open CKD file (or other file type)";
  request.filter =
      "Custom Key Definitions (*.ckd)|*.ckd|Flash Drive Copy (*.bin)|*.bin|Firmware Upgrade "
      "(*.upg)|*.upg|Any File(*.*)|*.*";
  request.filterIndex = 2;
  request.defaultExtension = "*.ckd";
  request.startFolder = folder;

  gui.OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), request.title);
    // The offscreen platform has no desktop dialog: the toolkit's own is shown.
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(ShownFilters(*dialog),
              QStringList({"Custom Key Definitions (*.ckd)", "Flash Drive Copy (*.bin)",
                           "Firmware Upgrade (*.upg)", "Any File(*.*)"}));
    EXPECT_EQ(ShownFilter(*dialog), "Flash Drive Copy (*.bin)");
    // The dialog adds no extension to a typed name; Open decides on ".ckd" itself.
    EXPECT_EQ(dialog->defaultSuffix().toStdString(), "");
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), folder);
    GuiHarness::ChooseInDialog(*dialog, chosen);
  });
  EXPECT_EQ(gui.frmMain.ChooseFileToOpen(request), chosen);

  // The next showing starts on the file chosen last; a cancel returns nothing.
  QStringList preselected;
  gui.OnNextModal([&](QWidget* modal) {
    preselected = qobject_cast<QFileDialog*>(modal)->selectedFiles();
    qobject_cast<QFileDialog*>(modal)->reject();
  });
  EXPECT_EQ(gui.frmMain.ChooseFileToOpen(request), std::nullopt);
  EXPECT_EQ(preselected, QStringList(QString::fromStdString(chosen)));
}

TEST(MainWindowPort, OpenFileButtonShowsTheDialogAndTheChosenFile) {
  GuiHarness gui;
  gui.frmMain.show();
  const std::string chosen = gui.app.state.macroFilesFolder + "/notes.txt";
  gui.OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Open CKD file (or other file type)");
    EXPECT_EQ(ShownFilter(*dialog), "Custom Key Definitions (*.ckd)");
    GuiHarness::ChooseInDialog(*dialog, chosen);
  });
  QTest::mouseClick(gui.Find<QToolButton>("btnOpen"), Qt::LeftButton);
  EXPECT_EQ(gui.frmMain.FileNameText(), chosen);
  EXPECT_EQ(gui.Find<QPlainTextEdit>("memoFileName")->toPlainText().toStdString(), chosen);
  EXPECT_EQ(gui.frmMain.progressText(), "\r\nOpen file.  \r\nINVALID FILE TYPE.\r\n");
}

TEST(MainWindowPort, WaitCursorIsShownAndRestored) {
  GuiHarness gui;
  ASSERT_EQ(QApplication::overrideCursor(), nullptr);
  {
    WaitCursorGuard wait(gui.frmMain);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tdxx::test
