// Erase CKD, Reboot and Launch Bootloader for every device kind, each against the simulated
// device of that kind after a Connect: what reached the device (feature bytes, or stream bytes
// in which report mode) and the box or log line the user gets. The expected rows are written
// down from the commands' tables, not taken from the program's own device table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

enum class Command { Erase, Reboot, Launch };

// What one command does with one kind.
struct Expect {
  const char* title = "";  // the box ("" none)
  const char* text = "";
  Bytes featureBytes;    // the data byte of every feature report, in order
  char streamMode = 0;   // 'T' or 'U' when the command opens the report stream
  Bytes streamBytes;     // what went out on it (contained in it, for a launch)
  const char* log = "";  // a line the log must hold ("" nothing logged)
  bool forgetsDevice = false;
};

Expect Refuse(const char* title, const char* text) {
  return Expect{title, text, {}, 0, {}, "", false};
}
Expect ByFeature(Bytes bytes, const char* title, const char* text) {
  return Expect{title, text, std::move(bytes), 0, {}, "", true};
}
Expect ByStream(char mode, Bytes bytes, const char* title, const char* text) {
  return Expect{title, text, {}, mode, std::move(bytes), "", true};
}
Expect Launches(Bytes featureBytes, char mode, Bytes streamBytes, const char* log) {
  return Expect{"", "", std::move(featureBytes), mode, std::move(streamBytes), log, false};
}

constexpr const char* kNoDevice =
    "No keypad/keyboard found!\r\nPlug your device in and/or click \"Connect\".";
constexpr const char* kEraseNote = "Erase Settings Note";
constexpr const char* kEraseSent =
    "Success! Erase command sent.\r\nYour keypad should reboot momentarily.\r\nClick \"Connect\" "
    "to find it.";
constexpr const char* kErase91x =
    "Tasterdeck 91x does not support this erase method.\r\nUse the two-finger reboot method "
    "described in the manual.";
constexpr const char* kEraseInBootloader =
    "This command cannot execute because your device is in\r\nBootloader mode. Replug it on USB "
    "then click \"Connect\".";
constexpr const char* kRebootNote = "Reboot Note";
constexpr const char* kRebootSent =
    "Success! Reboot command sent.\r\nYour keypad should reboot momentarily.\r\nClick "
    "\"Connect\" to find it.";
constexpr const char* kRebootBootloaderSent =
    "Success! Reboot command sent to bootloader.\r\nYour keypad should reboot "
    "momentarily.\r\nClick \"Connect\" to find it.";
constexpr const char* kAlreadyActive = "Bootloader already active!";
constexpr const char* kActivated = "\r\nBootloader: Activated.";

const Bytes kEraseFeature{0xE4, 0x09};
const Bytes kRebootFeature{0xE5};
const Bytes kLaunchFeature{0xE4, 0x08};
const Bytes kRestart{0x40, 0x04};

struct KindRow {
  DeviceKind kind;
  std::vector<std::string> devices;  // simulated devices whose detection gives the kind
  Expect erase, reboot, launch;
};

const std::vector<KindRow>& Rows() {
  static const Expect eraseByFeature = ByFeature(kEraseFeature, kEraseNote, kEraseSent);
  static const Expect rebootByFeature = ByFeature(kRebootFeature, kRebootNote, kRebootSent);
  static const Expect launchByFeature = Launches(kLaunchFeature, 0, {}, kActivated);
  static const Expect eraseInBootloader = Refuse(kEraseNote, kEraseInBootloader);
  static const Expect rebootBootloader =
      ByStream('U', kRestart, kRebootNote, kRebootBootloaderSent);
  static const Expect alreadyActive = Refuse("Note", kAlreadyActive);
  static const std::vector<KindRow> rows = {
      {-1,
       {"td-a", "wk-c"},
       Refuse("Erase Conflict", "Erase aborted! Please connect only one device."),
       Refuse("Reboot Conflict", "Reboot aborted! Please connect only one device."),
       Refuse("Action Conflict", "Action aborted! Please connect only one device.")},
      {0,
       {},
       Refuse(kEraseNote, kNoDevice),
       Refuse(kRebootNote, kNoDevice),
       Refuse("Launch Bootloader Note", kNoDevice)},
      {1,
       {"917-v4"},
       Refuse(kEraseNote, kErase91x),
       Refuse("Reboot Not Supported",
              "Failure! 91x v4.1 through v5.0 do not support the Reboot command. Replug the "
              "keypad instead."),
       Refuse("Note", "Your device does not support this command.")},
      {2,
       {"917-v5"},
       Refuse(kEraseNote, kErase91x),
       Refuse("Reboot Not Supported",
              "Failure! 91x v5.1 through v6.0 do not support the Reboot command. Replug the "
              "keypad instead."),
       // The feature launch re-detects, finds a kind outside its list and halts.
       Launches({}, 0, {}, "\r\nLaunch Bootloader HALTED: TDxx keypad not found!")},
      {3, {"917-bootloader"}, eraseInBootloader, rebootBootloader, alreadyActive},
      {4, {"tdxx-bootloader"}, eraseInBootloader, rebootBootloader, alreadyActive},
      {5, {"td-a"}, eraseByFeature, rebootByFeature, launchByFeature},
      {6, {"td-b"}, eraseByFeature, rebootByFeature, launchByFeature},
      // Reboot of the TDSxx bootloader is left open by the tables; it gets the restart as the
      // other bootloaders do.
      {7, {"tds-bootloader"}, eraseInBootloader, rebootBootloader, alreadyActive},
      {8, {"wk-c"}, eraseByFeature, rebootByFeature, launchByFeature},
      {9,
       {"prg-tmode"},
       ByStream('T', {0xE2, 0xE4, 0x09}, kEraseNote, kEraseSent),
       ByStream('T', kRestart, kRebootNote,
                "Success! Reboot command sent via PRG/TMode.\r\nYour keypad should reboot "
                "momentarily.\r\nClick \"Connect\" to find it."),
       Launches({}, 'T', {0x40, 0x0B, 0x52, 0x62}, kActivated)},
      {10, {"td-a-kbmouse"}, eraseByFeature, rebootByFeature, launchByFeature},
      {11, {"td-b-kbmouse"}, eraseByFeature, rebootByFeature, launchByFeature},
      {12, {"wk-c-kbmouse"}, eraseByFeature, rebootByFeature, launchByFeature},
      {13, {"947-bootloader"}, eraseInBootloader, rebootBootloader, alreadyActive},
      {14,
       {"slimkey-947"},
       Refuse("Erase Unavailable", "Erase aborted! Slimkey 947 keys are not programmable."),
       Refuse("Reboot Unavailable", "Reboot aborted! Slimkey 947 keys are not programmable."),
       Refuse("Action Unavailable", "Slimkey 947 bootloader must be activated manually.")},
  };
  return rows;
}

struct Case {
  const KindRow* row;
  Command command;
  std::string name;
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const KindRow& row : Rows()) {
    const std::string kind = row.kind < 0 ? "Several" : "Kind" + std::to_string(row.kind);
    cases.push_back({&row, Command::Erase, kind + "_Erase"});
    cases.push_back({&row, Command::Reboot, kind + "_Reboot"});
    cases.push_back({&row, Command::Launch, kind + "_Launch"});
  }
  return cases;
}

class DeviceCommandTable : public DownloadFixture, public testing::WithParamInterface<Case> {};

TEST_P(DeviceCommandTable, SendsWhatItsRowSaysAndTellsTheUser) {
  const Case& c = GetParam();
  const Expect& expect = c.command == Command::Erase    ? c.row->erase
                         : c.command == Command::Reboot ? c.row->reboot
                                                        : c.row->launch;
  StartAndConnect(c.row->devices);
  ASSERT_EQ(app->state.deviceKind, c.row->kind) << port->keypadText;
  const std::string panel = port->keypadText;

  switch (c.command) {
    case Command::Erase:
      commands->btnEraseClick();
      break;
    case Command::Reboot:
      commands->btnRebootClick();
      break;
    case Command::Launch:
      commands->mnuLaunchBootloaderClick();
      break;
  }

  if (*expect.title != 0) {
    ASSERT_EQ(port->messages.size(), 1u) << port->log;
    EXPECT_EQ(port->messages[0].title, expect.title);
    EXPECT_EQ(port->messages[0].text, expect.text);
    EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(port->messages[0].buttons, MessageButtons::Ok);
  } else {
    EXPECT_TRUE(port->messages.empty()) << port->messages[0].text;
  }
  if (*expect.log != 0) {
    EXPECT_NE(port->log.find(expect.log), std::string::npos) << port->log;
  } else {
    EXPECT_EQ(port->log, "");
  }

  Bytes featureBytes;
  Bytes streamBytes;
  for (std::size_t i = 0; i < c.row->devices.size(); ++i) {
    for (const sim::RecordedReport& report : device(i).featureReports())
      featureBytes.push_back(report.bytes.at(2));
    // (A launch ends with the bootloader's version queries, in 'U' whatever it sent.)
    for (const sim::RecordedReport& report : device(i).outputReports()) {
      if (c.command != Command::Launch) {
        EXPECT_EQ(report.bytes.size(), expect.streamMode == 'U' ? 65u : 9u);
      }
    }
    const Bytes payload = device(i).receivedPayload();
    streamBytes.insert(streamBytes.end(), payload.begin(), payload.end());
  }
  EXPECT_EQ(featureBytes, expect.featureBytes);
  if (expect.streamMode == 0) {
    // A launch's own detection afterwards queries the bootloader's versions; nothing before.
    if (c.command != Command::Launch || expect.featureBytes.empty()) {
      EXPECT_TRUE(streamBytes.empty());
    }
  } else if (c.command == Command::Launch) {
    EXPECT_NE(std::search(streamBytes.begin(), streamBytes.end(), expect.streamBytes.begin(),
                          expect.streamBytes.end()),
              streamBytes.end());
  } else {
    EXPECT_EQ(streamBytes, expect.streamBytes);
  }

  if (expect.forgetsDevice) {
    EXPECT_EQ(app->state.deviceKind, 0);
    EXPECT_EQ(port->keypadText, "");
  } else if (*expect.log == 0) {
    EXPECT_EQ(app->state.deviceKind, c.row->kind);
    EXPECT_EQ(port->keypadText, panel);
  }
  if (std::string(expect.log) == kActivated) {
    EXPECT_EQ(app->state.deviceKind, 4);
  }
  EXPECT_TRUE(port->commandsEnabled);
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKindAndCommand, DeviceCommandTable, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace tdxx::test
