// What a real kernel does to the paths and permissions of devices that leave and come back:
// the node of a device found earlier may now be another device, a node that just appeared
// refuses opens until udev has granted access, and a device may leave while reports are still
// queued for it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"
#include "sim/DeviceBehaviour.h"
#include "sim/DeviceCatalog.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

class DeviceComesBack : public DownloadFixture {
 protected:
  // The keypad in PRG/TMode has its rear switch set back: on the same node it is now a TD-A in
  // normal operation, which takes no stream reports.
  void BecomeTdA() {
    device().SetIdentifiers(0x1125, 0x1807);
    device().SetBehaviour(std::make_unique<sim::KeypadBehaviour>());
  }
  void ExpectFailureBox(const std::string& text, const std::string& title) {
    ASSERT_EQ(port->messages.size(), 1u);
    EXPECT_EQ(port->messages[0].text, text);
    EXPECT_EQ(port->messages[0].title, title);
    EXPECT_TRUE(device().outputReports().empty()) << "a report reached the TD-A";
    EXPECT_EQ(simulation->bus().openHandleCount(), 0);
  }
};

TEST_F(DeviceComesBack, EraseOfAPrgTModeDeviceThatBecameATdASendsItNothing) {
  StartAndConnect({"prg-tmode"});
  ASSERT_EQ(app->state.deviceKind, 9);
  BecomeTdA();
  commands->btnEraseClick();
  ExpectFailureBox("Failure! Erase command not sent.", "Erase Settings Note");
}

TEST_F(DeviceComesBack, RebootOfAPrgTModeDeviceThatBecameATdASendsItNothing) {
  StartAndConnect({"prg-tmode"});
  BecomeTdA();
  commands->btnRebootClick();
  ExpectFailureBox("Failure! Reboot command not sent via PRG/TMode.\r\nReplug the keypad instead.",
                   "Reboot Note");
}

TEST_F(DeviceComesBack, PrgTModeDownloadToADeviceThatBecameATdACannotOpenIt) {
  Start({"prg-tmode-td-b"});
  LoadAndConnect(6);
  ASSERT_EQ(app->state.deviceKind, 9);
  device().ClearRecordings();
  BecomeTdA();
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\n...FAILED! Cannot open keypad.\r\nDownload FAILED.\r\n"))
      << port->log;
  EXPECT_TRUE(device().outputReports().empty());
  EXPECT_FALSE(app->state.taskDone);
}

// The keypad leaves after its last key, before the closing E2 E5: the end byte is lost, and
// the download says so instead of "SUCCESS!".
TEST_F(DeviceComesBack, PrgTModeDeviceLeavingAfterTheLastKeyFailsTheDownload) {
  Start({"prg-tmode-td-b:unplug-after-key=24"});
  LoadAndConnect(24);
  commands->btnDownloadClick();
  EXPECT_EQ(Received().CompleteKeyCount(), 24);
  EXPECT_FALSE(Received().endByte);
  EXPECT_TRUE(EndsWith(port->log, "\r\n...FAILED communication.\r\nDownload FAILED.\r\n"))
      << port->log;
  EXPECT_EQ(port->log.find("SUCCESS"), std::string::npos);
  EXPECT_TRUE(port->messages.empty());
  EXPECT_FALSE(app->state.taskDone);
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

// The bootloader comes back after the fixed 6 s and its node refuses opens for 400 ms more:
// the wait tries again until udev has let the user in, and the firmware goes in.
TEST_F(DeviceComesBack, LateBootloaderRefusingOpensAtFirstIsFoundWithModelAndVersions) {
  StartAndConnect({"td-a:return-after=7000"});
  device().Configure(
      [](sim::DeviceConfig& c) { c.bootloaderKind = "tdxx-bootloader:refuse-open-for=400"; });
  commands->mnuLaunchBootloaderClick();
  EXPECT_EQ(app->state.deviceKind, 4);
  EXPECT_EQ(port->keypadText.rfind("BOOTLOADER found: Quorvane TDxx/WKxxx (Model TD-A).", 0), 0u)
      << port->keypadText;
  EXPECT_NE(port->keypadText.find("Bootloader Version"), std::string::npos) << port->keypadText;
  EXPECT_EQ(port->keypadText.find("No permission"), std::string::npos) << port->keypadText;

  app->firmware.image.fill(0xFF);
  app->firmware.imageLength = 64000;
  for (std::size_t i = 0; i < 512; ++i)
    app->firmware.image[8192 + i] = static_cast<std::uint8_t>(i * 3);
  app->state.loadedFileType = kFileUpg;
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n")) << port->log;
  EXPECT_EQ(device().config().flash->Read(8192, 512),
            std::vector<std::uint8_t>(app->firmware.image.begin() + 8192,
                                      app->firmware.image.begin() + 8192 + 512));
}

// A plain Connect does not wait for a node that refuses.
TEST_F(DeviceComesBack, ConnectToANodeWithoutPermissionIsNotSlowed) {
  Start({"tdxx-bootloader:no-permission"});
  const ClockDuration start = clock.Now();
  commands->btnConnectClick();
  EXPECT_LT(clock.Now() - start, 500ms);
  EXPECT_NE(port->keypadText.find("No permission"), std::string::npos) << port->keypadText;
}

}  // namespace
}  // namespace tdxx::test
