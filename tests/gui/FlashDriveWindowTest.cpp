// The flash-drive guide window: its controls, Copy Bin for me onto a keypad drive, Show Folders
// deleting that copy again before it opens the folders, and the warning without a drive.

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "GuiHarness.h"
#include "GuideWindowProbe.h"

namespace tdxx::test {
namespace {

// Takes the folders the window asks the desktop to show, instead of a file browser.
class FolderBrowserProbe : public QObject {
  Q_OBJECT
 public:
  FolderBrowserProbe() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Show"); }
  ~FolderBrowserProbe() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

  std::vector<std::string> shown;

 public slots:
  void Show(const QUrl& url) { shown.push_back(url.toLocalFile().toStdString()); }
};

template <typename Act>
void ShowGuide(GuiHarness& gui, Act act) {
  test::ShowGuide(gui, gui.frmFlashDrive, ModalWindow::FlashDrive, act);
}

TEST(FlashDriveWindow, ControlsTextsFontsAndTabOrder) {
  GuiHarness gui;
  TfrmFlashDrive& window = gui.frmFlashDrive;
  EXPECT_EQ(window.windowTitle().toStdString(), "Download via Flash Drive Method");
  EXPECT_EQ(window.size(), QSize(531, 335));
  EXPECT_EQ(window.font().family().toStdString(), "Tahoma");
  EXPECT_EQ(window.font().pointSize(), 8);

  const struct {
    const char* name;
    const char* text;
  } labels[] = {
      {"Label0", "How to download to your TDxx/WKxx using the Flash Drive method:"},
      {"Label1", "1. On the back of your keypad, move the switch to the \"flash drive\" position."},
      {"Label2",
       "2. The LED on the keypad should turn red and you should see a removable drive on your "
       "computer called TASTERDECK."},
      {"Label3",
       "3. Find the file you are working with, but with the extension .BIN.  Copy that file to "
       "the TASTERDECK drive. You can click the \"Show Folders\" button to open your folders."},
      {"Label4",
       "4. After the BIN file is copied, close the folders.  Then, on the back of your keypad, "
       "move the switch to the \"keyboard\" 'position."},
      {"Label5",
       "5. The keypad LED will flicker for a while and then your keypad will reboot with the new "
       "settings."}};
  for (const auto& l : labels) {
    auto* label = Control<QLabel>(window, l.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), l.text);
  }
  auto* label0 = Control<QLabel>(window, "Label0");
  EXPECT_TRUE(label0->font().bold());
  EXPECT_EQ(label0->font().pointSize(), 10);
  EXPECT_EQ(Control<QLabel>(window, "Label3")->font().pointSize(), 8);

  // The pictures beside steps 1 and 4.
  for (auto [image, step] : {std::pair{"Image1", "Label1"}, std::pair{"Image2", "Label4"}}) {
    auto* picture = Control<QLabel>(window, image);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(90, 30)) << image;
    EXPECT_LT(std::abs(picture->y() - Control<QLabel>(window, step)->y()), 10) << image;
  }

  auto* showFolders = Control<QPushButton>(window, "btnShowFolders");
  auto* copyBin = Control<QPushButton>(window, "btnCopyBinFile");
  auto* done = Control<QPushButton>(window, "btnDone");
  ASSERT_TRUE(showFolders && copyBin && done);
  EXPECT_EQ(showFolders->text().toStdString(), "Show Folders");
  EXPECT_EQ(copyBin->text().toStdString(), "Copy Bin for me");
  EXPECT_EQ(done->text().toStdString(), "Done");
  // Show Folders above Copy Bin for me, right of step 3; Done centred below everything.
  auto* label3 = Control<QLabel>(window, "Label3");
  EXPECT_LT(showFolders->y(), copyBin->y());
  EXPECT_GT(showFolders->x(), label3->geometry().right());
  EXPECT_EQ(copyBin->x(), showFolders->x());
  EXPECT_LT(std::abs(showFolders->y() - label3->y()), 10);
  EXPECT_LE(std::abs(done->geometry().center().x() - window.width() / 2), 1);
  EXPECT_GT(done->y(), Control<QLabel>(window, "Label5")->geometry().bottom());

  EXPECT_EQ(NextTabStop(showFolders), done);
  EXPECT_EQ(NextTabStop(done), copyBin);
  EXPECT_EQ(NextTabStop(copyBin), showFolders);
  ExpectLaidOutCleanly(window);
}

TEST(FlashDriveWindow, CopyBinForMeCopiesTheBinFileAndShowFoldersDeletesThatCopyFirst) {
  GuiHarness gui;
  gui.frmMain.show();
  const std::string contents("\x01\x02\x00\xff keys", 9);
  const std::string source = gui.temp.Write("work/keys.bin", contents);
  std::filesystem::create_directories(gui.temp / "drive");
  gui.drives.mountPoint = gui.temp / "drive/";
  gui.OpenFile(source);
  ASSERT_EQ(gui.app.state.loadedFileType, kFileBin);

  MessageBoxWatcher boxes;
  ShowGuide(gui, [&](QWidget& window) {
    Click(window, "btnCopyBinFile");
    Click(window, "btnDone");
  });
  const std::string copy = gui.temp / "drive/keys.bin";
  EXPECT_EQ(ReadWholeFile(copy), contents);

  // The next showing: Show Folders deletes the copy, reading "Deleting old" meanwhile, and then
  // opens the key-file folder and the drive.
  FolderBrowserProbe browser;
  std::string captionWhileDeleting;
  bool enabledWhileDeleting = true;
  ShowGuide(gui, [&](QWidget& window) {
    auto* showFolders = Control<QPushButton>(window, "btnShowFolders");
    QTimer::singleShot(300, &gui.watcher, [&] {
      captionWhileDeleting = showFolders->text().toStdString();
      enabledWhileDeleting = showFolders->isEnabled();
    });
    Click(window, "btnShowFolders");
    EXPECT_EQ(showFolders->text().toStdString(), "Show Folders");
    EXPECT_TRUE(showFolders->isEnabled());
    Click(window, "btnDone");
  });
  EXPECT_EQ(captionWhileDeleting, "Deleting old");
  EXPECT_FALSE(enabledWhileDeleting);
  EXPECT_FALSE(std::filesystem::exists(copy));
  EXPECT_TRUE(std::filesystem::exists(source));
  ASSERT_EQ(browser.shown.size(), 2u);
  EXPECT_EQ(std::filesystem::path(browser.shown[0]),
            std::filesystem::path(gui.app.state.macroFilesFolder));
  EXPECT_EQ(std::filesystem::path(browser.shown[1]), std::filesystem::path(gui.temp / "drive/"));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(FlashDriveWindow, WithoutADriveBothButtonsWarnAndTheWindowStaysOpen) {
  GuiHarness gui;
  gui.frmMain.show();
  const std::string source = gui.temp.Write("work/keys.bin", "keys");
  gui.OpenFile(source);
  FolderBrowserProbe browser;
  MessageBoxWatcher boxes;
  bool openAfterClicks = false;
  ShowGuide(gui, [&](QWidget& window) {
    Click(window, "btnShowFolders");
    Click(window, "btnCopyBinFile");
    openAfterClicks = window.isVisible();
    window.close();
  });
  EXPECT_TRUE(openAfterClicks);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  for (const auto& box : boxes.boxes) {
    EXPECT_EQ(box.text,
              "TASTERDECK drive not found. Switch keypad to Flash Drive mode and try again.");
  }
  EXPECT_TRUE(browser.shown.empty());
}

}  // namespace
}  // namespace tdxx::test

#include "FlashDriveWindowTest.moc"
