#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"
#include "app/DownloadFailAdvice.h"
#include "app/TModeGuideController.h"
#include "files/PrivateProfile.h"

namespace tdxx::test {
namespace {

using TModeGuide = DownloadFixture;

TEST_F(TModeGuide, ConnectFindingNoDeviceInPrgTModeShowsNotFound) {
  Start({"td-b"});
  TModeGuideController guide(*app, *port);
  guide.FormShow();
  guide.btnConnectTModeClick();
  EXPECT_TRUE(guide.notFoundVisible());
  EXPECT_FALSE(guide.downloadEnabled());
  EXPECT_EQ(guide.connectCaption(), "Connect via PRG");
  EXPECT_EQ(port->keypadText, "KEYPAD found: Quorvane Tasterdeck TD-B.");
  EXPECT_EQ(app->state.deviceKind, 6);
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

TEST_F(TModeGuide, ContactedStaysAfterALaterFailedConnectAndTheTimerActsOnTheLastDetection) {
  Start({"prg-tmode"});
  LoadAndConnect(24);
  app->state.deviceKind = 0;
  TModeGuideController guide(*app, *port);
  guide.FormShow();
  guide.btnConnectTModeClick();
  EXPECT_EQ(guide.connectCaption(), "Contacted!");
  EXPECT_TRUE(guide.downloadEnabled());
  EXPECT_FALSE(guide.notFoundVisible());

  device().Unplug();
  guide.btnConnectTModeClick();
  EXPECT_TRUE(guide.notFoundVisible());
  EXPECT_EQ(guide.connectCaption(), "Contacted!");
  EXPECT_TRUE(guide.downloadEnabled());

  guide.btnDownloadClick();
  EXPECT_EQ(port->tmodeTimerStarts, 1);
  EXPECT_TRUE(guide.closeRequested());
  commands->tmrTModeDownloadTimer();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text, "Plug in your keypad and click \"Connect\" to continue.");

  // The next showing starts afresh.
  guide.FormShow();
  EXPECT_EQ(guide.connectCaption(), "Connect via PRG");
  EXPECT_FALSE(guide.notFoundVisible());
  EXPECT_FALSE(guide.downloadEnabled());
  EXPECT_FALSE(guide.closeRequested());
}

TEST_F(TModeGuide, DownloadClickOpensTheGuideWhoseDownloadFileSendsTheKeys) {
  Start({"prg-tmode-wk-c"});
  LoadAndConnect(5);
  app->state.deviceKind = 6;  // as a Connect in normal operation left it
  app->state.downloadMode = 1;
  TModeGuideController guide(*app, *port);
  port->onModal = [&](ModalWindow window) {
    ASSERT_EQ(window, ModalWindow::TMode);
    guide.FormShow();
    guide.btnConnectTModeClick();
    guide.btnDownloadClick();
  };
  commands->btnDownloadClick();
  EXPECT_TRUE(guide.closeRequested());
  EXPECT_EQ(Received().keys.size(), 0u) << "nothing before the timer fires";

  commands->tmrTModeDownloadTimer();
  EXPECT_EQ(Received().CompleteKeyCount(), 5);
  EXPECT_TRUE(app->state.taskDone);
}

TEST_F(TModeGuide, DoneClosesWithoutDownloading) {
  Start({"prg-tmode"});
  TModeGuideController guide(*app, *port);
  guide.FormShow();
  guide.btnConnectTModeClick();
  guide.btnDoneClick();
  EXPECT_TRUE(guide.closeRequested());
  EXPECT_EQ(port->tmodeTimerStarts, 0);
  EXPECT_EQ(app->state.deviceKind, 9);
}

using DownloadFailAdviceWindow = DownloadFixture;

std::string IniPath(const std::string& folder) {
  return folder + "/TDxxLoad.ini";
}

TEST_F(DownloadFailAdviceWindow, EachSwitchChoiceStoresItsMethodAndConfirmsOnce) {
  struct Choice {
    void (DownloadFailAdvice::*click)();
    int mode;
    const char* text;
    bool tickTMode;
  };
  const Choice choices[] = {
      {&DownloadFailAdvice::btnUsePRG_TModeClick, 1,
       "The downloader will now use PRG/TMode method. You will be\r\nguided by this program when "
       "to change the switch position.\r\nTry download again.",
       true},
      {&DownloadFailAdvice::btnUseFlashDriveClick, 2,
       "The downloader will now use the Flash Drive method. You will\r\nbe guided by this program "
       "when to change the switch position.\r\nTry download again.",
       false},
  };
  for (const Choice& choice : choices) {
    std::filesystem::remove(IniPath(UserSettingsFolder()));  // each choice from the standard method
    Start({"td-a:reject-feature=3"});
    LoadAndConnect(24);
    DownloadFailAdvice advice(*commands);
    port->onModal = [&](ModalWindow window) {
      ASSERT_EQ(window, ModalWindow::DownloadFail);
      advice.FormShow();
      (advice.*choice.click)();
    };
    commands->btnDownloadClick();
    EXPECT_TRUE(advice.closeRequested());
    EXPECT_EQ(app->state.downloadMode, choice.mode);
    EXPECT_EQ(port->tickTMode, choice.tickTMode);
    EXPECT_EQ(port->tickFlashDrive, !choice.tickTMode);
    EXPECT_EQ(ReadProfileInt(IniPath(UserSettingsFolder()), "CONFIGURATION", "DownloadMode", -1),
              choice.mode);
    ASSERT_EQ(port->messages.size(), 1u);
    EXPECT_EQ(port->messages[0].title, "Download Method Set");
    EXPECT_EQ(port->messages[0].text, choice.text);
    EXPECT_EQ(port->messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(port->progressPosition, 0);
    EXPECT_TRUE(port->commandsEnabled);
    commands.reset();
    app.reset();
  }
  simulation.reset();
}

TEST_F(DownloadFailAdviceWindow, UnwritableSettingsShowNoConfirmationAndTheWindowStays) {
  temp.Write("home/Documents/Quorvane/KeysmithTDxx", "a file where the folder must go");
  Start({"td-a"});
  DownloadFailAdvice advice(*commands);
  advice.FormShow();
  advice.btnUsePRG_TModeClick();
  EXPECT_TRUE(port->messages.empty());
  EXPECT_EQ(port->errors.size(), 1u);
  EXPECT_FALSE(advice.closeRequested());
  EXPECT_EQ(app->state.downloadMode, 1) << "in force for this run all the same";
}

TEST_F(DownloadFailAdviceWindow, CancelChangesNothing) {
  Start({"td-a"});
  DownloadFailAdvice advice(*commands);
  advice.FormShow();
  advice.btnCancelClick();
  EXPECT_TRUE(advice.closeRequested());
  EXPECT_EQ(app->state.downloadMode, 0);
  EXPECT_TRUE(port->tickStandard);
  EXPECT_FALSE(std::filesystem::exists(IniPath(UserSettingsFolder())));
  EXPECT_TRUE(port->messages.empty());
}

}  // namespace
}  // namespace tdxx::test
