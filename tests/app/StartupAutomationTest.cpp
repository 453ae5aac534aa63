#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

// tmrStartup firing one second after start, on virtual time, with what the start-up sequence
// left loaded from the command line (set directly here).
class StartupAutomation : public DownloadFixture {
 protected:
  void StartWith(const std::vector<std::string>& arguments, const std::vector<std::string>& kinds) {
    // A fresh program run: the last run's window and application go before its devices.
    commands.reset();
    app.reset();
    environment.arguments = arguments;
    Start(kinds);
  }
  void LoadCkd(int keys) {
    app->state.loadedFileType = kFileCkd;
    app->state.keyCount = keys;
    app->state.dataFileName = "keys.ckd";
    app->keyTable = SampleKeyTable();
  }
  // What was downloaded and whether the program closed, as the timer leaves it.
  void Fire() {
    port->onPause = [this](Milliseconds duration) {
      pausesSeen.push_back(
          {duration, port->closeRequests, app->state.taskDone, port->progressPosition});
    };
    commands->tmrStartupTimer();
  }
  struct PauseSeen {
    Milliseconds duration;
    int closeRequests;
    bool taskDone;
    int progressPosition;
  };
  std::vector<PauseSeen> pausesSeen;
};

TEST_F(StartupAutomation, WithoutOneArgumentOnlyDetects) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"keys.ckd", "more.ckd"}}) {
    StartWith(arguments, {"td-a"});
    LoadCkd(24);  // as if loaded, so only the argument count stops the download
    Fire();
    EXPECT_EQ(port->keypadText, "KEYPAD found: Quorvane Tasterdeck TD-A.");
    EXPECT_EQ(Received().keys.size(), 0u);
    EXPECT_TRUE(port->messages.empty());
    EXPECT_EQ(port->closeRequests, 0);
    EXPECT_TRUE(port->commandsEnabled);
  }
}

TEST_F(StartupAutomation, CkdToOneKeypadClosesTheProgramASecondAfterSuccess) {
  StartWith({"keys.ckd"}, {"td-a"});
  LoadCkd(24);
  app->state.taskDone = false;
  Fire();
  EXPECT_EQ(Received().CompleteKeyCount(), 24);
  EXPECT_TRUE(app->state.taskDone);
  ASSERT_GE(pausesSeen.size(), 2u);
  // The flow shows its success for a second with the bar full; the automation's own second
  // follows once the flow has returned and emptied the bar.
  const PauseSeen& flows = pausesSeen[pausesSeen.size() - 2];
  EXPECT_EQ(flows.duration, Milliseconds(1000));
  EXPECT_EQ(flows.progressPosition, 10);
  const PauseSeen& last = pausesSeen.back();
  EXPECT_EQ(last.duration, Milliseconds(1000));
  EXPECT_EQ(last.progressPosition, 0);
  EXPECT_TRUE(last.taskDone);
  EXPECT_EQ(last.closeRequests, 0) << "the close comes after the pause";
  EXPECT_EQ(port->closeRequests, 1);
}

TEST_F(StartupAutomation, TwoDevicesDownloadNothingAndStayOpen) {
  StartWith({"keys.ckd"}, {"td-a", "wk-c"});
  LoadCkd(24);
  Fire();
  EXPECT_EQ(app->state.deviceKind, -1);
  EXPECT_EQ(Received(0).keys.size(), 0u);
  EXPECT_EQ(Received(1).keys.size(), 0u);
  EXPECT_TRUE(port->messages.empty()) << "the automation stops before Download's refusal";
  EXPECT_EQ(port->closeRequests, 0);
}

TEST_F(StartupAutomation, NothingLoadedDownloadsNothing) {
  // A UPG file that failed to read leaves no file loaded; a CKD file without keys is the same.
  for (int keys : {-1, 0}) {
    StartWith({keys < 0 ? "bad.upg" : "empty.ckd"}, {"td-a"});
    if (keys == 0)
      LoadCkd(0);
    port->log.clear();  // the start-up sequence's own lines about the file
    Fire();
    EXPECT_EQ(Received().keys.size(), 0u);
    EXPECT_TRUE(port->messages.empty()) << "Download would have said there is nothing to send";
    EXPECT_EQ(port->log, "");
    EXPECT_EQ(port->closeRequests, 0);
  }
}

TEST_F(StartupAutomation, MissingBinFileStillRunsDownloadAndNeverCloses) {
  StartWith({"gone.bin"}, {});
  app->state.loadedFileType = kFileBin;
  app->state.dataFileName = "gone.bin";
  app->state.downloadMode = 2;
  app->state.taskDone = true;  // left over; the automation clears it first
  Fire();
  EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::FlashDrive});
  EXPECT_FALSE(app->state.taskDone);
  EXPECT_EQ(port->closeRequests, 0);
}

TEST_F(StartupAutomation, FailedDownloadLeavesTheProgramOpen) {
  StartWith({"keys.ckd"}, {"td-b:reject-feature=1"});
  LoadCkd(48);
  app->state.taskDone = true;
  Fire();
  EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::DownloadFail});
  EXPECT_FALSE(app->state.taskDone);
  EXPECT_EQ(port->closeRequests, 0);
}

}  // namespace
}  // namespace tdxx::test
