// Launch Bootloader against simulated keypads that leave the bus and come back as bootloaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kActivated =
    "\r\nRequesting bootloader mode.\r\nPlease wait.\r\nBootloader: Activated.";
constexpr const char* kFail =
    "\r\nRequesting bootloader mode.\r\nPlease wait.\r\nLaunch Bootloader FAIL: Did not respond in "
    "time. Try \"Connect\" button";

class BootloaderLaunch : public DownloadFixture {
 protected:
  int PausesOf(Milliseconds duration) const {
    return static_cast<int>(std::count(port->pauses.begin(), port->pauses.end(), duration));
  }
};

TEST_F(BootloaderLaunch, KeypadComesBackAsItsBootloaderWithinTheSixSeconds) {
  StartAndConnect({"td-b"});
  commands->mnuLaunchBootloaderClick();
  const auto reports = device().featureReports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].bytes, (Bytes{0x00, 0x01, 0xE4, 0x00, 0x00, 0x00}));
  EXPECT_EQ(reports[1].bytes, (Bytes{0x00, 0x01, 0x08, 0x00, 0x00, 0x00}));
  EXPECT_GE(reports[1].time - reports[0].time, Milliseconds(110));
  EXPECT_EQ(port->log, kActivated);
  EXPECT_EQ(app->state.deviceKind, 4);
  EXPECT_EQ(port->keypadText.rfind("BOOTLOADER found: Quorvane TDxx/WKxxx (Model TD-B).", 0), 0u)
      << port->keypadText;
  EXPECT_EQ(PausesOf(Milliseconds(6000)), 1);
  EXPECT_EQ(PausesOf(Milliseconds(500)), 0);
  EXPECT_TRUE(port->messages.empty());
  EXPECT_EQ(port->waitCursorDepth, 0);
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

TEST_F(BootloaderLaunch, ATdsBootloaderIsNotTheOneAskedFor) {
  StartAndConnect({"td-a:launch-as=tds-bootloader"});
  commands->mnuLaunchBootloaderClick();
  EXPECT_EQ(port->log, kFail);
  EXPECT_EQ(app->state.deviceKind, 7);
}

TEST_F(BootloaderLaunch, ALateBootloaderIsFoundByLookingAgain) {
  StartAndConnect({"wk-c:return-after=7000"});
  const ClockDuration start = clock.Now();
  commands->mnuLaunchBootloaderClick();
  EXPECT_EQ(port->log, kActivated);
  EXPECT_EQ(app->state.deviceKind, 4);
  EXPECT_EQ(port->keypadText.rfind("BOOTLOADER found: Quorvane TDxx/WKxxx (Model WK-C).", 0), 0u);
  // Found at the first look after it came back, not at the end of the ten seconds.
  EXPECT_GE(PausesOf(Milliseconds(500)), 1);
  EXPECT_LE(PausesOf(Milliseconds(500)), 3);
  EXPECT_LT(clock.Now() - start, Milliseconds(8500));
  // The looks in between left the panel alone: only the two detections wrote it.
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

TEST_F(BootloaderLaunch, ABootloaderThatNeverComesFailsAfterSixteenSeconds) {
  StartAndConnect({"td-a:never-returns"});
  port->keypadHistory.clear();
  commands->mnuLaunchBootloaderClick();
  EXPECT_EQ(port->log, kFail);
  EXPECT_EQ(app->state.deviceKind, 0);
  EXPECT_EQ(PausesOf(Milliseconds(6000)), 1);
  EXPECT_EQ(PausesOf(Milliseconds(500)), 20);
  // The detection with the handle kept and the one after the six seconds; the looks are quiet.
  EXPECT_EQ(port->keypadHistory.size(), 2u);
  EXPECT_EQ(port->keypadText, "No Tasterdeck found! Please connect your USB keypad.");
}

TEST_F(BootloaderLaunch, Older917KeypadIsHaltedAndGetsNothing) {
  StartAndConnect({"917-v5"});
  ASSERT_EQ(app->state.deviceKind, 2);
  commands->mnuLaunchBootloaderClick();
  EXPECT_TRUE(device().featureReports().empty());
  EXPECT_EQ(port->log,
            "\r\nRequesting bootloader mode.\r\nLaunch Bootloader HALTED: TDxx keypad not found!");
  EXPECT_TRUE(device().plugged());
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

TEST_F(BootloaderLaunch, KeypadGoneBeforeTheLaunchCancels) {
  StartAndConnect({"td-a"});
  device().Unplug();
  commands->mnuLaunchBootloaderClick();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text,
            "Connection failed! Keypad not attached or not in normal operating mode.");
  EXPECT_EQ(port->messages[0].title, "Download Note");
  EXPECT_EQ(port->log, "\r\nRequesting bootloader mode.\r\nCanceled.\r\n");
  EXPECT_EQ(PausesOf(Milliseconds(6000)), 0);
}

TEST_F(BootloaderLaunch, PrgTModeDeviceGetsTheRequestOnTheTStream) {
  StartAndConnect({"prg-tmode-td-b"});
  ASSERT_EQ(app->state.deviceKind, 9);
  commands->mnuLaunchBootloaderClick();
  const Bytes payload = device().receivedPayload();
  // Between the version queries of the two detections (the device keeps its recordings when
  // it comes back as the bootloader).
  const Bytes request{0x40, 0x0B, 0x52, 0x62};
  EXPECT_NE(std::search(payload.begin(), payload.end(), request.begin(), request.end()),
            payload.end());
  EXPECT_EQ(port->log, kActivated);
  EXPECT_EQ(app->state.deviceKind, 4);
}

TEST_F(BootloaderLaunch, PrgTModeDeviceGoneCancels) {
  StartAndConnect({"prg-tmode"});
  device().Unplug();
  commands->mnuLaunchBootloaderClick();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text, "Connection failed! Keypad not found or in wrong mode.");
  EXPECT_EQ(port->messages[0].title, "Download Note");
  EXPECT_EQ(port->log, "\r\nRequesting bootloader mode.\r\nCanceled.\r\n");
}

}  // namespace
}  // namespace tdxx::test
