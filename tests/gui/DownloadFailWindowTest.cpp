// The download-failed advice window: its controls, and what its three buttons change.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <array>
#include <filesystem>

#include "GuiHarness.h"
#include "GuideWindowProbe.h"
#include "files/PrivateProfile.h"

namespace tdxx::test {
namespace {

std::array<bool, 3> Ticks(GuiHarness& gui) {
  return {gui.Find<QAction>("mnuDownloadNormal")->isChecked(),
          gui.Find<QAction>("mnuDownloadViaTMode")->isChecked(),
          gui.Find<QAction>("mnuDownloadViaFlashDrive")->isChecked()};
}

// Shows the window as the standard download does, runs `act` on it, and returns once it closed.
template <typename Act>
void ShowAdvice(GuiHarness& gui, Act act) {
  gui.OnNextModal([&gui, act](QWidget* modal) {
    ASSERT_EQ(modal, &gui.frmDownloadFail);
    act(gui.frmDownloadFail);
  });
  gui.frmMain.ShowModalWindow(ModalWindow::DownloadFail);
}

TEST(DownloadFailWindow, ControlsTextsFontsAndTabOrder) {
  GuiHarness gui;
  TfrmDownloadFail& window = gui.frmDownloadFail;
  EXPECT_EQ(window.windowTitle().toStdString(), "Download Failed! -- Problems Downloading?");
  EXPECT_EQ(window.size(), QSize(436, 344));
  EXPECT_EQ(window.font().family().toStdString(), "Tahoma");
  EXPECT_EQ(window.font().pointSize(), 8);

  const struct {
    const char* name;
    const char* text;
    bool bold;
  } labels[] = {
      {"Label2", "If standard downloading fails...", true},
      {"Label0",
       "It is recommended to use the rear panel switch when downloading.  Examine the rear of "
       "your keypad and select the image that matches your keypad.  Click the corresponding "
       "button for that image.",
       false},
      {"Label1",
       "Do not change the position of the switch until directed to do so  by this downloader "
       "application.",
       false}};
  for (const auto& l : labels) {
    auto* label = Control<QLabel>(window, l.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), l.text);
    EXPECT_EQ(label->font().pointSize(), 10) << l.name;
    EXPECT_EQ(label->font().bold(), l.bold) << l.name;
  }
  EXPECT_LT(Control<QLabel>(window, "Label2")->y(), Control<QLabel>(window, "Label0")->y());

  auto* prg = Control<QPushButton>(window, "btnUsePRG_TMode");
  auto* flash = Control<QPushButton>(window, "btnUseFlashDrive");
  auto* cancel = Control<QPushButton>(window, "btnCancel");
  ASSERT_TRUE(prg && flash && cancel);
  EXPECT_EQ(prg->text().toStdString(), "My keypad has this PRG switch");
  EXPECT_EQ(flash->text().toStdString(), "My keypad has this Flash Drive switch");
  EXPECT_EQ(cancel->text().toStdString(), "Cancel");
  EXPECT_FALSE(cancel->icon().isNull());
  // Each picture beside its button.
  for (auto [image, button] : {std::pair{"Image1", prg}, std::pair{"Image2", flash}}) {
    auto* picture = Control<QLabel>(window, image);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(90, 30)) << image;
    EXPECT_LT(picture->geometry().right(), button->x()) << image;
    EXPECT_TRUE(picture->geometry().top() <= button->geometry().bottom() &&
                button->geometry().top() <= picture->geometry().bottom())
        << image;
  }

  EXPECT_EQ(NextTabStop(cancel), prg);
  EXPECT_EQ(NextTabStop(prg), flash);
  ExpectLaidOutCleanly(window);
}

struct ChoiceCase {
  const char* name;
  const char* button;
  std::array<bool, 3> ticks;
  int mode;
  const char* confirmation;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
  *out << c.name;
}

class DownloadFailChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(DownloadFailChoice, SetsTheMethodConfirmsOnceAndCloses) {
  const ChoiceCase& c = GetParam();
  GuiHarness gui;
  gui.frmMain.show();
  MessageBoxWatcher boxes;
  ShowAdvice(gui, [&](QWidget& window) {
    QTest::mouseClick(Control<QPushButton>(window, c.button), Qt::LeftButton);
  });
  EXPECT_FALSE(gui.frmDownloadFail.isVisible());
  EXPECT_EQ(Ticks(gui), c.ticks);
  EXPECT_EQ(gui.app.state.downloadMode, c.mode);
  EXPECT_EQ(ReadProfileInt(gui.SettingsFile(), "CONFIGURATION", "DownloadMode", -1), c.mode);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "Download Method Set");
  EXPECT_EQ(boxes.boxes[0].text, c.confirmation);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, DownloadFailChoice,
    ::testing::Values(
        ChoiceCase{"PrgSwitch",
                   "btnUsePRG_TMode",
                   {false, true, false},
                   1,
                   "The downloader will now use PRG/TMode method. You will be\nguided by this "
                   "program when to change the switch position.\nTry download again."},
        ChoiceCase{"FlashDriveSwitch",
                   "btnUseFlashDrive",
                   {false, false, true},
                   2,
                   "The downloader will now use the Flash Drive method. You will\nbe guided by "
                   "this program when to change the switch position.\nTry download again."}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.name); });

TEST(DownloadFailWindow, CancelAndTheCloseBoxChangeNothing) {
  GuiHarness gui("[CONFIGURATION]\r\nDownloadMode=2\r\n");
  gui.frmMain.show();
  MessageBoxWatcher boxes;
  ShowAdvice(gui, [](QWidget& window) {
    QTest::mouseClick(Control<QPushButton>(window, "btnCancel"), Qt::LeftButton);
  });
  EXPECT_FALSE(gui.frmDownloadFail.isVisible());
  EXPECT_EQ(gui.frmDownloadFail.result(), QDialog::Rejected);
  ShowAdvice(gui, [](QWidget& window) { window.close(); });
  EXPECT_FALSE(gui.frmDownloadFail.isVisible());

  EXPECT_EQ(Ticks(gui), (std::array<bool, 3>{false, false, true}));
  EXPECT_EQ(gui.app.state.downloadMode, 2);
  EXPECT_EQ(ReadWholeFile(gui.SettingsFile()), "[CONFIGURATION]\r\nDownloadMode=2\r\n");
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(DownloadFailWindow, AChoiceThatCannotBeStoredShowsTheErrorAndStaysOpen) {
  GuiHarness gui;
  gui.frmMain.show();
  // A folder where the settings file should be: it cannot be written.
  std::filesystem::create_directories(gui.SettingsFile());
  MessageBoxWatcher boxes;
  bool openAfterChoice = false;
  ShowAdvice(gui, [&](QWidget& window) {
    QTest::mouseClick(Control<QPushButton>(window, "btnUsePRG_TMode"), Qt::LeftButton);
    openAfterChoice = window.isVisible();
    window.close();
  });
  EXPECT_TRUE(openAfterChoice);
  // The method holds for this run all the same.
  EXPECT_EQ(Ticks(gui), (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(gui.app.state.downloadMode, 1);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "TDxxLoad");
  EXPECT_EQ(boxes.boxes[0].text, "Unable to write to " + gui.SettingsFile());
}

TEST(DownloadFailWindow, AFailedDownloadOffersItAndTheNextDownloadFollowsTheChoice) {
  // The keypad refuses a feature report in the middle of the key records.
  GuiHarness gui(std::nullopt, {"td-b:reject-feature=200"});
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  gui.OpenFile(std::string(TDXX_EXAMPLES_DIR) + "/td-b-letters.ckd");
  ASSERT_EQ(gui.app.state.keyCount, 48);
  gui.commands.btnConnectClick();

  MessageBoxWatcher boxes;
  bool advised = false;
  gui.OnNextModal([&](QWidget* modal) {
    advised = modal == &gui.frmDownloadFail;
    QTest::mouseClick(Control<QPushButton>(*modal, "btnUsePRG_TMode"), Qt::LeftButton);
  });
  gui.clock.quick = true;
  QTest::mouseClick(gui.Find<QToolButton>("btnDownload"), Qt::LeftButton);
  gui.clock.quick = false;
  EXPECT_TRUE(advised);
  EXPECT_NE(gui.frmMain.progressText().find("\r\nDownload FAILED.\r\n"), std::string::npos);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "Download Method Set");
  EXPECT_EQ(Ticks(gui), (std::array<bool, 3>{false, true, false}));
  EXPECT_TRUE(gui.Find<QToolButton>("btnDownload")->isEnabled());

  // The keypad is not in PRG/TMode: the next Download shows the PRG/TMode guide.
  bool guided = false;
  gui.OnNextModal([&](QWidget* modal) {
    guided = modal == &gui.frmTMode;
    modal->close();
  });
  QTest::mouseClick(gui.Find<QToolButton>("btnDownload"), Qt::LeftButton);
  EXPECT_TRUE(guided);
}

}  // namespace
}  // namespace tdxx::test
