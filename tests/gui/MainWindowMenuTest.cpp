// The Options menu: ticks after start-up, choosing a method, the drop-down button, Exit.

#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <array>

#include "GuiHarness.h"
#include "files/PrivateProfile.h"

namespace tdxx::test {
namespace {

std::array<bool, 3> Ticks(GuiHarness& gui) {
  return {gui.Find<QAction>("mnuDownloadNormal")->isChecked(),
          gui.Find<QAction>("mnuDownloadViaTMode")->isChecked(),
          gui.Find<QAction>("mnuDownloadViaFlashDrive")->isChecked()};
}

struct StartCase {
  const char* name;
  const char* settings;  // TDxxLoad.ini, or null for none
  std::array<bool, 3> ticks;
  int downloadMode;
};

void PrintTo(const StartCase& c, std::ostream* out) {
  *out << c.name;
}

class MethodTicksAtStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(MethodTicksAtStart, FollowTheStoredMethod) {
  const StartCase& c = GetParam();
  GuiHarness gui(c.settings ? std::optional<std::string>(c.settings) : std::nullopt);
  EXPECT_EQ(Ticks(gui), c.ticks);
  EXPECT_EQ(gui.app.state.downloadMode, c.downloadMode);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MethodTicksAtStart,
    ::testing::Values(
        StartCase{"NoSettingsFile", nullptr, {true, false, false}, 0},
        StartCase{
            "DownloadMode0", "[CONFIGURATION]\r\nDownloadMode=0\r\n", {true, false, false}, 0},
        StartCase{
            "DownloadMode1", "[CONFIGURATION]\r\nDownloadMode=1\r\n", {false, true, false}, 1},
        StartCase{
            "DownloadMode2", "[CONFIGURATION]\r\nDownloadMode=2\r\n", {false, false, true}, 2},
        StartCase{
            "DownloadMode7", "[CONFIGURATION]\r\nDownloadMode=7\r\n", {true, false, false}, 0}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST(MethodMenu, ChoosingAMethodTicksItAloneAndStoresIt) {
  GuiHarness gui;
  const struct {
    const char* item;
    std::array<bool, 3> ticks;
    int stored;
  } steps[] = {{"mnuDownloadViaFlashDrive", {false, false, true}, 2},
               {"mnuDownloadViaTMode", {false, true, false}, 1},
               {"mnuDownloadNormal", {true, false, false}, 0},
               // The ticked item chosen again stays ticked (the toolkit's own toggle is undone).
               {"mnuDownloadNormal", {true, false, false}, 0}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.item);
    gui.Find<QAction>(step.item)->trigger();
    EXPECT_EQ(Ticks(gui), step.ticks);
    EXPECT_EQ(gui.app.state.downloadMode, step.stored);
    EXPECT_EQ(ReadProfileInt(gui.SettingsFile(), "CONFIGURATION", "DownloadMode", -1), step.stored);
  }
}

TEST(MethodMenu, ClickOnOptionsOpensTheMenuAtTheButtonsBottomLeft) {
  GuiHarness gui;
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  auto* button = gui.Find<QToolButton>("btnOption");
  auto* menu = gui.Find<QMenu>("mnuOptions");
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, button->height() / 2));
  ASSERT_TRUE(menu->isVisible());
  const QPoint bottomLeft = button->mapToGlobal(QPoint(0, button->height()));
  EXPECT_EQ(menu->pos(), bottomLeft);
  menu->hide();

  // The arrow part shows the same menu at the same place (the toolkit runs it modally).
  QPoint arrowMenuAt;
  QTimer::singleShot(50, &gui.watcher, [&] {
    arrowMenuAt = menu->isVisible() ? menu->pos() : QPoint(-1, -1);
    menu->hide();
  });
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 4, button->height() / 2));
  EXPECT_EQ(arrowMenuAt, bottomLeft);
}

TEST(MethodMenu, DisabledCommandsTakeNoClicks) {
  GuiHarness gui;
  gui.frmMain.show();
  gui.frmMain.SetCommandsEnabled(false);
  for (const char* name :
       {"btnOpen", "btnConnect", "btnDownload", "btnOption", "btnReboot", "btnErase", "btnExit"})
    EXPECT_FALSE(gui.Find<QToolButton>(name)->isEnabled()) << name;
  for (const char* name : {"mnuDownloadNormal", "mnuDownloadViaTMode", "mnuDownloadViaFlashDrive",
                           "mnuLaunchBootloader"})
    EXPECT_FALSE(gui.Find<QAction>(name)->isEnabled()) << name;
  QTest::mouseClick(gui.Find<QToolButton>("btnExit"), Qt::LeftButton);
  EXPECT_TRUE(gui.frmMain.isVisible());
  gui.frmMain.SetCommandsEnabled(true);
  EXPECT_TRUE(gui.Find<QToolButton>("btnExit")->isEnabled());
  EXPECT_TRUE(gui.Find<QAction>("mnuLaunchBootloader")->isEnabled());
}

TEST(MainWindowClose, ACloseRequestActsAsExitWhenNoCommandRuns) {
  GuiHarness gui;
  gui.frmMain.show();
  // The window manager's close request (Alt+F4, the task bar, a title-bar button).
  EXPECT_TRUE(gui.frmMain.close());
  EXPECT_FALSE(gui.frmMain.isVisible());
}

TEST(MainWindowClose, ACloseRequestDuringACommandIsRefused) {
  GuiHarness gui(std::nullopt, {"td-a"});
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  // Connect pauses before it detects; the request comes in that pause.
  bool closedDuringCommand = true;
  QTimer::singleShot(30, &gui.watcher, [&] { closedDuringCommand = gui.frmMain.close(); });
  QTest::mouseClick(gui.Find<QToolButton>("btnConnect"), Qt::LeftButton);
  EXPECT_FALSE(closedDuringCommand);
  EXPECT_TRUE(gui.frmMain.isVisible());
  EXPECT_NE(gui.frmMain.KeypadText().find("TD-A"), std::string::npos);
  // Exit still closes it afterwards.
  QTest::mouseClick(gui.Find<QToolButton>("btnExit"), Qt::LeftButton);
  EXPECT_FALSE(gui.frmMain.isVisible());
}

TEST(MainWindowClose, TheWindowCarriesTheProgramsIconAndDesktopEntry) {
  GuiHarness gui;
  EXPECT_FALSE(gui.frmMain.windowIcon().isNull());
  EXPECT_FALSE(gui.frmMain.windowIcon().pixmap(32, 32).isNull());
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdString(), "tdxxload");
}

TEST(StartupTimer, DetectsTheKeypadOneSecondAfterStart) {
  GuiHarness gui(std::nullopt, {"td-a"});
  gui.frmMain.show();
  gui.frmMain.StartStartupTimer();
  gui.clock.Pause(Milliseconds(700));
  EXPECT_EQ(gui.frmMain.KeypadText(), "\r\n");
  gui.clock.Pause(Milliseconds(800));
  EXPECT_NE(gui.frmMain.KeypadText(), "\r\n");
  EXPECT_EQ(gui.frmMain.progressText().rfind("Simulated devices: td-a", 0), 0u);
  EXPECT_TRUE(gui.Find<QToolButton>("btnConnect")->isEnabled());
}

TEST(StartupTimer, ClicksDuringACommandArePassedOver) {
  GuiHarness gui(std::nullopt, {"td-a"});
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  auto* open = gui.Find<QToolButton>("btnOpen");
  int dialogs = 0;
  gui.OnNextModal([&](QWidget* modal) {
    ++dialogs;
    modal->close();
  });
  bool disabledDuringCommand = false;
  // Connect pauses before it detects; a click on Open in that pause must not open the dialog.
  QTimer::singleShot(30, &gui.watcher, [&] {
    disabledDuringCommand = !open->isEnabled();
    QTest::mouseClick(open, Qt::LeftButton);
  });
  QTest::mouseClick(gui.Find<QToolButton>("btnConnect"), Qt::LeftButton);
  EXPECT_TRUE(disabledDuringCommand);
  gui.clock.Pause(Milliseconds(50));
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(open->isEnabled());
  EXPECT_NE(gui.frmMain.KeypadText().find("TD-A"), std::string::npos);
}

TEST(StartupTimer, ClicksHeldBackDuringACommandAreDroppedWhenItEnds) {
  GuiHarness gui(std::nullopt, {"td-a"});
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  int dialogs = 0;
  gui.OnNextModal([&](QWidget* modal) {
    ++dialogs;
    modal->close();
  });
  // Connect pauses before it detects; Open is clicked in that pause, and again while the
  // commands let pending messages run.
  QTimer::singleShot(30, &gui.watcher, [&] { QueueClick(gui.Find<QToolButton>("btnOpen")); });
  QTest::mouseClick(gui.Find<QToolButton>("btnConnect"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs, 0);

  QueueClick(gui.Find<QToolButton>("btnOpen"));
  gui.frmMain.ProcessPendingMessages();
  EXPECT_EQ(dialogs, 0);
  // The event loop delivers it afterwards, outside a command, as usual.
  QCoreApplication::processEvents();
  EXPECT_EQ(dialogs, 1);
}

}  // namespace
}  // namespace tdxx::test
