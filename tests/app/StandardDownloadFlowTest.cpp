#include "app/StandardDownloadFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

using StandardDownloadFlow = DownloadFixture;

TEST_F(StandardDownloadFlow, TdATakesOnlyTheFirst24KeysOfA48KeyFile) {
  Start({"td-a"});
  LoadAndConnect(48);
  commands->btnDownloadClick();

  const sim::ReceivedKeyImage image = Received();
  ASSERT_EQ(image.keys.size(), 24u);
  for (std::size_t k = 0; k < 24; ++k)
    ExpectKeyReceived(image.keys[k], app->keyTable[k]);
  EXPECT_TRUE(image.endByte);
  EXPECT_EQ(port->progressMaximumHistory, (std::vector<int>{25, 10}));
  EXPECT_EQ(port->progressPosition, 0);
  EXPECT_EQ(app->state.keyCount, 48) << "the limit holds for this download only";
  EXPECT_TRUE(app->state.taskDone);
  EXPECT_EQ(port->log,
            "\r\nIMPORTANT: Downloading only first 24 keys of file!\r\nDownloading 24 keys."
            "\r\n...Download start\r\n...Downloading globals.\r\n...Downloading keys."
            "\r\nSUCCESS! Download Complete.\r\n");
  EXPECT_EQ(port->pauses.back(), Milliseconds(1000));
  EXPECT_TRUE(port->messages.empty());
  EXPECT_TRUE(port->modalWindows.empty());
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
  EXPECT_EQ(port->waitCursorShown, 2) << "the re-detection's and the transfer's";
  EXPECT_EQ(port->waitCursorDepth, 0);
}

TEST_F(StandardDownloadFlow, TdBTakesEvery66KeysOfAWkCFile) {
  Start({"td-b"});
  LoadAndConnect(66);
  commands->btnDownloadClick();
  const sim::ReceivedKeyImage image = Received();
  EXPECT_EQ(image.CompleteKeyCount(), 66);
  EXPECT_EQ(image.keys.back().keyNumber(), 65);
  EXPECT_TRUE(image.endByte);
  EXPECT_EQ(port->progressMaximumHistory.front(), 67);
}

TEST_F(StandardDownloadFlow, RejectedFirstReportOpensTheAdviceAfterTwoSeconds) {
  Start({"td-b:reject-feature=1"});
  LoadAndConnect(48);
  int positionWhenShown = -1;
  Milliseconds lastPauseWhenShown{0};
  port->onModal = [&](ModalWindow) {
    positionWhenShown = port->progressPosition;
    lastPauseWhenShown = port->pauses.back();
  };
  commands->btnDownloadClick();

  EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::DownloadFail});
  EXPECT_EQ(lastPauseWhenShown, Milliseconds(2000));
  EXPECT_EQ(positionWhenShown, 0);
  EXPECT_TRUE(EndsWith(port->log, "\r\n...Downloading globals.\r\nDownload FAILED.\r\n"));
  EXPECT_FALSE(app->state.taskDone);
  EXPECT_EQ(port->progressPosition, 0);
  EXPECT_EQ(device().featureReports().size(), 1u);
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
  EXPECT_EQ(port->waitCursorDepth, 0);
}

TEST_F(StandardDownloadFlow, FailureInsideAKeyLeavesTaskDoneUnsetAndTheBarAtZero) {
  Start({"wk-c:reject-feature=40"});
  LoadAndConnect(66);
  app->state.taskDone = false;
  commands->btnDownloadClick();
  EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::DownloadFail});
  EXPECT_FALSE(Received().endByte);
  EXPECT_FALSE(app->state.taskDone);
  EXPECT_EQ(port->progressPosition, 0);
}

TEST_F(StandardDownloadFlow, KeypadGoneSinceConnectIsToldWithoutSendingAnything) {
  Start({"td-a"});
  LoadAndConnect(24);
  device().Unplug();
  commands->btnDownloadClick();
  EXPECT_EQ(port->log, "\r\nDownload FAILED! Keypad not detected. Wrong mode or not attached.");
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text,
            "Download failed! Keypad not attached or not in normal operating mode.");
  EXPECT_EQ(port->messages[0].title, "Download Note");
  EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(port->modalWindows.empty());
  EXPECT_EQ(app->state.deviceKind, 0);
  EXPECT_TRUE(device().featureReports().empty());
}

TEST_F(StandardDownloadFlow, KeypadUnpluggedMidDownloadEndsInTheAdvice) {
  Start({"td-b:unplug-after-features=100"});
  LoadAndConnect(48);
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nDownload FAILED.\r\n"));
  EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::DownloadFail});
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
  EXPECT_FALSE(app->state.taskDone);
}

}  // namespace
}  // namespace tdxx::test
