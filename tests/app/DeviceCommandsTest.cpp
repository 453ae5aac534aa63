// Erase CKD and Reboot against simulated keypads and bootloaders.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kEraseSent =
    "Success! Erase command sent.\r\nYour keypad should reboot momentarily.\r\nClick \"Connect\" "
    "to find it.";

class DeviceCommands : public DownloadFixture {
 protected:
  // The data byte of every feature report the keypad received, and when.
  std::vector<std::pair<std::uint8_t, ClockDuration>> FeatureBytes() {
    std::vector<std::pair<std::uint8_t, ClockDuration>> bytes;
    for (const sim::RecordedReport& report : device().featureReports())
      bytes.emplace_back(report.bytes.at(2), report.time);
    return bytes;
  }
  void ExpectOneBox(const std::string& text, const std::string& title) {
    ASSERT_EQ(port->messages.size(), 1u);
    EXPECT_EQ(port->messages[0].text, text);
    EXPECT_EQ(port->messages[0].title, title);
    EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
    // The device is forgotten: the next command needs a Connect.
    EXPECT_EQ(port->keypadText, "");
    EXPECT_EQ(app->state.deviceKind, 0);
    EXPECT_EQ(simulation->bus().openHandleCount(), 0);
  }
};

TEST_F(DeviceCommands, EraseSendsE4Then09ToTheKeypadWhichRebootsAndComesBack) {
  StartAndConnect({"td-b"});
  ASSERT_EQ(app->state.deviceKind, 6);
  commands->btnEraseClick();
  const auto bytes = FeatureBytes();
  ASSERT_EQ(bytes.size(), 2u);
  EXPECT_EQ(bytes[0].first, 0xE4);
  EXPECT_EQ(bytes[1].first, 0x09);
  // 10 ms in the send and 100 ms after it.
  EXPECT_GE(bytes[1].second - bytes[0].second, Milliseconds(110));
  for (const sim::RecordedReport& report : device().featureReports())
    EXPECT_EQ(report.bytes, (Bytes{0x00, 0x01, report.bytes[2], 0x00, 0x00, 0x00}));
  ExpectOneBox(kEraseSent, "Erase Settings Note");
  EXPECT_FALSE(device().plugged());

  clock.Pause(Milliseconds(3500));
  commands->btnConnectClick();
  EXPECT_EQ(app->state.deviceKind, 6);
}

TEST_F(DeviceCommands, EraseReportRefusedIsAFailureAndTheSecondByteStillGoes) {
  StartAndConnect({"td-a:reject-feature=1"});
  commands->btnEraseClick();
  const auto bytes = FeatureBytes();
  ASSERT_EQ(bytes.size(), 2u);
  EXPECT_EQ(bytes[1].first, 0x09);
  ExpectOneBox("Failure! Erase command not sent. Try PRG/TMode.", "Erase Settings Note");
}

TEST_F(DeviceCommands, EraseOfAKeypadThatIsGoneSendsNothingAndFails) {
  StartAndConnect({"td-a"});
  device().Unplug();
  commands->btnEraseClick();
  EXPECT_TRUE(device().featureReports().empty());
  ExpectOneBox("Failure! Erase command not sent. Try PRG/TMode.", "Erase Settings Note");
}

TEST_F(DeviceCommands, EraseInPrgTModeSendsE2E409OnTheTStream) {
  StartAndConnect({"prg-tmode"});
  ASSERT_EQ(app->state.deviceKind, 9);
  commands->btnEraseClick();
  EXPECT_EQ(device().receivedPayload(), (Bytes{0xE2, 0xE4, 0x09}));
  for (const sim::RecordedReport& report : device().outputReports())
    EXPECT_EQ(report.bytes.size(), 9u);  // 'T' reports
  ExpectOneBox(kEraseSent, "Erase Settings Note");
}

TEST_F(DeviceCommands, EraseInPrgTModeWithoutDeviceFails) {
  StartAndConnect({"prg-tmode"});
  device().Unplug();
  commands->btnEraseClick();
  ExpectOneBox("Failure! Erase command not sent.", "Erase Settings Note");
}

TEST_F(DeviceCommands, RebootSendsE5AndTheKeypadComesBack) {
  StartAndConnect({"wk-c-kbmouse"});
  ASSERT_EQ(app->state.deviceKind, 12);
  commands->btnRebootClick();
  const auto bytes = FeatureBytes();
  ASSERT_EQ(bytes.size(), 1u);
  EXPECT_EQ(bytes[0].first, 0xE5);
  ExpectOneBox(
      "Success! Reboot command sent.\r\nYour keypad should reboot momentarily.\r\nClick "
      "\"Connect\" to find it.",
      "Reboot Note");
  EXPECT_FALSE(device().plugged());
  clock.Pause(Milliseconds(3500));
  commands->btnConnectClick();
  EXPECT_EQ(app->state.deviceKind, 12);
}

TEST_F(DeviceCommands, RebootOfAKeypadThatBecameABootloaderSendsNothingAndFails) {
  StartAndConnect({"td-a"});
  device().SetIdentifiers(0x1125, 0x1806);  // now a TDxx/WKxxx bootloader
  commands->btnRebootClick();
  EXPECT_TRUE(device().featureReports().empty());
  ExpectOneBox("Failure! Reboot command not sent. Replug the keypad instead.", "Reboot Note");
}

TEST_F(DeviceCommands, RebootInPrgTModeSends4004OnTheTStream) {
  StartAndConnect({"prg-tmode"});
  commands->btnRebootClick();
  EXPECT_EQ(device().receivedPayload(), (Bytes{0x40, 0x04}));
  ExpectOneBox(
      "Success! Reboot command sent via PRG/TMode.\r\nYour keypad should reboot "
      "momentarily.\r\nClick \"Connect\" to find it.",
      "Reboot Note");
}

TEST_F(DeviceCommands, RebootInPrgTModeWithoutDeviceFails) {
  StartAndConnect({"prg-tmode"});
  device().Unplug();
  commands->btnRebootClick();
  ExpectOneBox("Failure! Reboot command not sent via PRG/TMode.\r\nReplug the keypad instead.",
               "Reboot Note");
}

TEST_F(DeviceCommands, RebootOfEveryBootloaderSendsTheRestartOnTheUStream) {
  for (const char* kind : {"947-bootloader", "tds-bootloader", "917-bootloader"}) {
    StartAndConnect({kind});
    ASSERT_TRUE(app->state.deviceKind == 13 || app->state.deviceKind == 7 ||
                app->state.deviceKind == 3)
        << kind;
    port->messages.clear();
    commands->btnRebootClick();
    EXPECT_EQ(device().receivedPayload(), (Bytes{0x40, 0x04})) << kind;
    for (const sim::RecordedReport& report : device().outputReports())
      EXPECT_EQ(report.bytes.size(), 65u) << kind;  // 'U' reports
    ExpectOneBox(
        "Success! Reboot command sent to bootloader.\r\nYour keypad should reboot "
        "momentarily.\r\nClick \"Connect\" to find it.",
        "Reboot Note");
  }
}

TEST_F(DeviceCommands, RebootOfABootloaderThatIsGoneFails) {
  StartAndConnect({"tdxx-bootloader"});
  device().Unplug();
  commands->btnRebootClick();
  ExpectOneBox("Failure! Reboot command not sent to bootloader. Replug the keypad.", "Reboot Note");
}

}  // namespace
}  // namespace tdxx::test
