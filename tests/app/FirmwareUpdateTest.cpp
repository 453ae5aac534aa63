// The firmware update of the Download command against simulated bootloaders and their flash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "DownloadFixture.h"
#include "RecordingLog.h"
#include "files/FirmwareReader.h"

namespace tdxx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kEraseCommand{0x40, 0x17, 0x45, 0x61};
const Bytes kRestartCommand{0x40, 0x04};
constexpr std::size_t kBlock = 512;

class FirmwareUpdate : public DownloadFixture {
 protected:
  // A UPG file's image of `length` bytes is loaded; blank unless written.
  void LoadImage(std::uint32_t length) {
    app->firmware.image.fill(0xFF);
    app->firmware.imageLength = length;
    app->state.loadedFileType = kFileUpg;
  }
  // Fills the block at `address` (up to the end of the image) with a pattern of its own.
  void WriteBlock(std::uint32_t address) {
    for (std::size_t i = 0; i < kBlock && address + i < app->firmware.image.size(); ++i)
      app->firmware.image[address + i] = static_cast<std::uint8_t>((address / kBlock) * 31 + i * 7);
  }
  // What the bootloader received from the erase command on (the detection's version queries
  // come before it).
  Bytes UpgradeTraffic() {
    const Bytes payload = device().receivedPayload();
    const auto erase =
        std::search(payload.begin(), payload.end(), kEraseCommand.begin(), kEraseCommand.end());
    return Bytes(erase, payload.end());
  }
  bool EndsWithRestart() {
    const Bytes traffic = UpgradeTraffic();
    return traffic.size() >= 2 && Bytes(traffic.end() - 2, traffic.end()) == kRestartCommand;
  }
  Bytes Flash(std::size_t address, std::size_t count) {
    return device().config().flash->Read(address, count);
  }
  Bytes Image(std::size_t address, std::size_t count) {
    return Bytes(app->firmware.image.begin() + static_cast<std::ptrdiff_t>(address),
                 app->firmware.image.begin() + static_cast<std::ptrdiff_t>(address + count));
  }
  void ExpectFailure(const std::string& reason) {
    EXPECT_TRUE(EndsWith(port->log, "\r\nDownload FAILED.\r\n" + reason)) << port->log;
    EXPECT_EQ(port->log.find("SUCCESS"), std::string::npos);
    EXPECT_FALSE(app->state.taskDone);
    EXPECT_EQ(port->progressPosition, 0);
    EXPECT_TRUE(port->messages.empty());
    EXPECT_EQ(simulation->bus().openHandleCount(), 0);
    EXPECT_TRUE(simulation->bus().lockedPaths().empty());
  }
};

TEST_F(FirmwareUpdate, ExampleFileEndsUpInTheFlashOfATdxxBootloader) {
  StartAndConnect({"tdxx-bootloader"});
  RecordingLog readerLog;
  ASSERT_EQ(ReadFirmwareFile(TDXX_EXAMPLES_DIR "/td-a-demo.upg", app->firmware, readerLog), 0);
  ASSERT_EQ(app->firmware.imageLength, 64000u);
  app->state.loadedFileType = kFileUpg;
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n")) << port->log;
  EXPECT_EQ(Flash(8192, 64000 - 8192), Image(8192, 64000 - 8192));
  EXPECT_NE(Flash(8192, 512), Bytes(512, 0xFF));
}

TEST_F(FirmwareUpdate, AllBlankImageSendsOnlyEraseAndRestartAndCountsEveryBlock) {
  StartAndConnect({"tdxx-bootloader"});
  LoadImage(64000);
  commands->btnDownloadClick();
  Bytes expected = kEraseCommand;
  expected.insert(expected.end(), kRestartCommand.begin(), kRestartCommand.end());
  EXPECT_EQ(UpgradeTraffic(), expected);
  EXPECT_NE(port->log.find("\r\n...Flash data, block 1 of 109"), std::string::npos);
  EXPECT_NE(port->log.find("\r\n...Flash data, block 109 of 109\r\n"), std::string::npos);
  EXPECT_EQ(port->log.find("block 110"), std::string::npos);
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n"));
  EXPECT_EQ(port->progressMaximumHistory, (std::vector<int>{109}));
  EXPECT_EQ(port->progressPosition, 0);
  EXPECT_TRUE(app->state.taskDone);
  EXPECT_EQ(device().config().flash->eraseCount(), 1);
}

TEST_F(FirmwareUpdate, WrittenBlocksEndUpInTheBootloadersFlash) {
  StartAndConnect({"tdxx-bootloader"});
  LoadImage(64000);
  for (std::uint32_t address : {8192u, 8192u + 5 * 512u, 40960u, 63488u})
    WriteBlock(address);
  app->firmware.image[30000] = 0x00;  // one byte in a block of its own
  const ClockDuration start = clock.Now();
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n")) << port->log;
  EXPECT_EQ(Flash(8192, 64000 - 8192), Image(8192, 64000 - 8192));
  EXPECT_EQ(Flash(0, 8192), Bytes(8192, 0xFF));  // the bootloader's own area is never sent
  EXPECT_TRUE(EndsWithRestart());
  EXPECT_EQ(port->log.find("Retry"), std::string::npos);

  // The first chunk comes a full second after the erase command.
  const auto reports = device().outputReports();
  ClockDuration eraseTime{-1};
  ClockDuration firstChunk{-1};
  for (const sim::RecordedReport& report : reports) {
    if (report.time < start || report.bytes.size() < 4)
      continue;
    if (report.bytes[2] == 0x40 && report.bytes[3] == 0x17)
      eraseTime = report.time;
    if (report.bytes[2] == 0x40 && report.bytes[3] == 0x12 && firstChunk.count() < 0)
      firstChunk = report.time;
  }
  ASSERT_GE(eraseTime.count(), 0);
  EXPECT_GE(firstChunk - eraseTime, Milliseconds(1000));
}

TEST_F(FirmwareUpdate, LongImageGoesTo947BootloaderWithItsLastBlockPaddedWithFF) {
  StartAndConnect({"947-bootloader"});
  ASSERT_EQ(app->state.deviceKind, 13);
  LoadImage(64448);
  WriteBlock(8192);
  WriteBlock(64000);  // the last block: 448 bytes of image, then 64 past its end
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n")) << port->log;
  EXPECT_NE(port->log.find("\r\n...Flash data, block 110 of 110\r\n"), std::string::npos);
  EXPECT_EQ(port->progressMaximumHistory, (std::vector<int>{110}));
  EXPECT_EQ(Flash(8192, 64448 - 8192), Image(8192, 64448 - 8192));
  EXPECT_EQ(Flash(64448, 64), Bytes(64, 0xFF));
}

TEST_F(FirmwareUpdate, ABlockThatFailsOnceIsRetriedAndTheUpgradeGoesOn) {
  StartAndConnect({"tdxx-bootloader:corrupt-readback=1"});
  LoadImage(64000);
  WriteBlock(8192);
  WriteBlock(9216);
  commands->btnDownloadClick();
  EXPECT_NE(port->log.find("\r\n...Flash data, block 1 of 109\r\n... Retry block"),
            std::string::npos)
      << port->log;
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n"));
  EXPECT_EQ(Flash(8192, 64000 - 8192), Image(8192, 64000 - 8192));
  EXPECT_TRUE(app->state.taskDone);
}

TEST_F(FirmwareUpdate, ReadBackWrongTwiceRestartsTheBootloaderAndFails) {
  StartAndConnect({"tdxx-bootloader:corrupt-readback=2:corrupt-readback-times=2"});
  LoadImage(64000);
  WriteBlock(8192);
  WriteBlock(9216);
  commands->btnDownloadClick();
  ExpectFailure(" Keypad data readback failure.");
  EXPECT_TRUE(EndsWithRestart());
  // The first block made it; the second never got burnt.
  EXPECT_EQ(Flash(8192, 512), Image(8192, 512));
  EXPECT_EQ(Flash(9216, 512), Bytes(512, 0xFF));
}

TEST_F(FirmwareUpdate, UnansweredEraseFailsWithoutRestart) {
  StartAndConnect({"tdxx-bootloader:erase-silent"});
  LoadImage(64000);
  WriteBlock(8192);
  commands->btnDownloadClick();
  ExpectFailure(" Keypad failed erase.");
  EXPECT_EQ(UpgradeTraffic(), kEraseCommand);
}

TEST_F(FirmwareUpdate, WrongEraseAnswerFailsWithoutRestart) {
  StartAndConnect({"tdxx-bootloader:erase-answer=0x71"});
  LoadImage(64000);
  commands->btnDownloadClick();
  ExpectFailure(" Keypad failed erase.");
  EXPECT_EQ(UpgradeTraffic(), kEraseCommand);
}

TEST_F(FirmwareUpdate, RefusedBurnAndRefusedVerifyFailWithTheirReasons) {
  StartAndConnect({"tdxx-bootloader:burn-refused"});
  LoadImage(64000);
  WriteBlock(8192);
  commands->btnDownloadClick();
  ExpectFailure(" Keypad data burn failure.");
  EXPECT_TRUE(EndsWithRestart());

  StartAndConnect({"tds-bootloader:verify-refused"});
  LoadImage(64000);
  WriteBlock(8192);
  commands->btnDownloadClick();
  ExpectFailure(" Keypad data verify failure.");
  EXPECT_TRUE(EndsWithRestart());
}

TEST_F(FirmwareUpdate, UnplugInTheMiddleOfABlockFailsAndLeavesNothingOpen) {
  StartAndConnect({"tdxx-bootloader"});
  LoadImage(64000);
  WriteBlock(8192);
  // The detection's version queries and the erase come first; this stops in the first block.
  device().UnplugAfterReports(20);
  commands->btnDownloadClick();
  ExpectFailure(" Keypad data transfer failure.");
  EXPECT_FALSE(device().plugged());
}

TEST_F(FirmwareUpdate, ImageOfTheWrongSizeIsRefusedBeforeAnythingIsSent) {
  StartAndConnect({"947-bootloader"});
  LoadImage(64000);
  commands->btnDownloadClick();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text, "Download aborted! Filesize incorrect.");
  EXPECT_EQ(port->messages[0].title, "947 UPG Download");
  EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(UpgradeTraffic().empty());

  StartAndConnect({"tdxx-bootloader"});
  LoadImage(64448);
  commands->btnDownloadClick();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text, "Download aborted! Filesize incorrect.");
  EXPECT_EQ(port->messages[0].title, "UPG Download");
  EXPECT_TRUE(UpgradeTraffic().empty());
  EXPECT_EQ(port->log, "");
}

TEST_F(FirmwareUpdate, Older917KeypadIsRefused) {
  StartAndConnect({"917-v4"});
  LoadImage(64000);
  commands->btnDownloadClick();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text, "Your device does not support firmware update.");
  EXPECT_EQ(port->messages[0].title, "Flash Update Note");
}

TEST_F(FirmwareUpdate, KeypadAnsweringNoGetsNothing) {
  StartAndConnect({"td-a"});
  LoadImage(64000);
  port->scriptedAnswers.push_back(MessageResult::No);
  commands->btnDownloadClick();
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text,
            "Your device needs to be in Bootloader mode.\r\nWould you like to activate it?");
  EXPECT_EQ(port->messages[0].title, "Flash Update Note");
  EXPECT_EQ(port->messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(port->messages[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(device().featureReports().empty());
  EXPECT_TRUE(device().plugged());
  EXPECT_EQ(port->log, "");
}

TEST_F(FirmwareUpdate, KeypadSwitchesOnYesAndTheSecondDownloadWritesTheFirmware) {
  StartAndConnect({"td-b"});
  LoadImage(64000);
  WriteBlock(12288);
  port->scriptedAnswers.push_back(MessageResult::Yes);
  commands->btnDownloadClick();
  ASSERT_EQ(port->messages.size(), 2u);
  EXPECT_EQ(port->messages[1].text, "Success! Click \"Download\" again to upgrade your device.");
  EXPECT_EQ(port->messages[1].title, "Flash Update Note");
  EXPECT_EQ(port->log.rfind("\r\nPlease wait...\r\nRequesting bootloader mode.", 0), 0u);
  EXPECT_EQ(port->log.find("Downloading Firmware"), std::string::npos);
  EXPECT_EQ(app->state.deviceKind, 4);
  EXPECT_FALSE(app->state.taskDone);

  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n"));
  EXPECT_EQ(Flash(8192, 64000 - 8192), Image(8192, 64000 - 8192));
  // The restart brings the keypad back.
  clock.Pause(Milliseconds(3500));
  commands->btnConnectClick();
  EXPECT_EQ(app->state.deviceKind, 6);
}

TEST_F(FirmwareUpdate, KeypadThatComesBackAsTdsBootloaderIsASuccessWithANote) {
  StartAndConnect({"td-a:launch-as=tds-bootloader"});
  LoadImage(64000);
  port->scriptedAnswers.push_back(MessageResult::Yes);
  commands->btnDownloadClick();
  EXPECT_TRUE(EndsWith(port->log, "\r\nDownload NOTE. Writing firmware over TDSxx bootloader."));
  ASSERT_EQ(port->messages.size(), 2u);
  EXPECT_EQ(port->messages[1].text, "Success! Click \"Download\" again to upgrade your device.");
}

TEST_F(FirmwareUpdate, KeypadThatNeverComesBackGetsTheFailedBox) {
  StartAndConnect({"prg-tmode:never-returns"});
  LoadImage(64000);
  port->scriptedAnswers.push_back(MessageResult::Yes);
  commands->btnDownloadClick();
  ASSERT_EQ(port->messages.size(), 2u);
  EXPECT_EQ(port->messages[1].text,
            "Failed! Unable to launch TDxx Bootloader over USB.\r\nSee the user manual for "
            "alternatives or click \"Connect\" again to retry. \r\nPlease note that 91x v5 and "
            "older keypads do not support firmware upgrade.");
  EXPECT_EQ(port->messages[1].icon, MessageIcon::Warning);
  EXPECT_EQ(port->log.find("SUCCESS"), std::string::npos);
}

}  // namespace
}  // namespace tdxx::test
