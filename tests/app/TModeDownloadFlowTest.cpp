#include "app/TModeDownloadFlow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

using TModeDownloadFlow = DownloadFixture;

constexpr const char* kRestoreSwitch =
    "To return to normal operation, restore the REAR PANEL SWITCH.";

TEST_F(TModeDownloadFlow, SuccessRemindsOfTheSwitchAndClearsTheKeypadPanel) {
  Start({"prg-tmode-td-b"});
  LoadAndConnect(6);
  ASSERT_EQ(app->state.deviceKind, 9);
  commands->btnDownloadClick();

  const sim::ReceivedKeyImage image = Received();
  EXPECT_EQ(image.CompleteKeyCount(), 6);
  EXPECT_TRUE(image.endByte);
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text, kRestoreSwitch);
  EXPECT_EQ(port->messages[0].title, "SUCCESS! Download Complete.");
  EXPECT_EQ(port->messages[0].icon, MessageIcon::None);
  EXPECT_TRUE(EndsWith(
      port->log, std::string("\r\nSUCCESS! Download Complete.\r\n") + kRestoreSwitch + "\r\n"));
  EXPECT_EQ(port->log.substr(0, 40), "\r\nDownloading 6 keys via PRG/TMode.\r\n...");
  EXPECT_EQ(port->keypadText, "");
  EXPECT_EQ(app->state.deviceKind, 9);
  EXPECT_TRUE(app->state.taskDone);
  EXPECT_EQ(port->progressMaximumHistory, (std::vector<int>{7, 10}));
  EXPECT_EQ(port->progressPosition, 0);
  EXPECT_EQ(port->waitCursorDepth, 0);
  EXPECT_FALSE(app->transport.streamOpen());
}

TEST_F(TModeDownloadFlow, PingLostBeforeKeyFiveIsTheLastThingLogged) {
  Start({"prg-tmode-wk-c:no-ping-from-key=5"});
  LoadAndConnect(66);
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log,
                       "\r\n...Downloading key #5.\r\n...FAILED communication (ping)."
                       "\r\nDownload FAILED.\r\n"));
  EXPECT_TRUE(port->messages.empty());
  EXPECT_TRUE(port->modalWindows.empty()) << "no advice after a PRG/TMode failure";
  EXPECT_FALSE(app->state.taskDone);
  EXPECT_EQ(port->progressPosition, 0);
  EXPECT_EQ(Received().CompleteKeyCount(), 4);
  EXPECT_FALSE(app->transport.streamOpen());
}

TEST_F(TModeDownloadFlow, CapacityTruncationKeepsTheFileSizedProgressMaximum) {
  Start({"prg-tmode:capacity=24"});
  LoadAndConnect(48);
  commands->btnDownloadClick();
  EXPECT_NE(port->log.find("\r\n...Truncating number of keys to match device."), std::string::npos);
  EXPECT_EQ(Received().CompleteKeyCount(), 24);
  EXPECT_EQ(port->progressMaximumHistory, (std::vector<int>{49, 10}));
  EXPECT_TRUE(app->state.taskDone);
}

}  // namespace
}  // namespace tdxx::test
