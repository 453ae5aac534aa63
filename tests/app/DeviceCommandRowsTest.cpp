// The rows of Erase CKD, Reboot and Launch Bootloader that answer from the last detection alone.
#include <gtest/gtest.h>

#include <string>

#include "AppFixture.h"

namespace tdxx::test {
namespace {

enum class Command { Erase, Reboot, Launch };

struct RefusalRow {
  const char* name;
  Command command;
  DeviceKind kind;
  const char* title;
  const char* text;
};

constexpr const char* kNoDevice =
    "No keypad/keyboard found!\r\nPlug your device in and/or click \"Connect\".";
constexpr const char* kEraseInBootloader =
    "This command cannot execute because your device is in\r\nBootloader mode. Replug it on USB "
    "then click \"Connect\".";
constexpr const char* kErase91x =
    "Tasterdeck 91x does not support this erase method.\r\nUse the two-finger reboot method "
    "described in the manual.";

class DeviceCommandRefusal : public AppFixture, public testing::WithParamInterface<RefusalRow> {};

TEST_P(DeviceCommandRefusal, ShowsItsBoxAndTouchesNothing) {
  const RefusalRow& row = GetParam();
  Start();
  app->state.deviceKind = row.kind;
  port->SetKeypadText("KEYPAD found: Quorvane Tasterdeck TD-A.");
  switch (row.command) {
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
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].title, row.title);
  EXPECT_EQ(port->messages[0].text, row.text);
  EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(port->messages[0].buttons, MessageButtons::Ok);
  EXPECT_EQ(port->log, "");
  EXPECT_EQ(app->state.deviceKind, row.kind);
  EXPECT_EQ(port->keypadText, "KEYPAD found: Quorvane Tasterdeck TD-A.");
  EXPECT_TRUE(port->commandsEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeviceCommandRefusal,
    testing::Values(
        RefusalRow{"EraseSeveral", Command::Erase, -1, "Erase Conflict",
                   "Erase aborted! Please connect only one device."},
        RefusalRow{"EraseSlimkey", Command::Erase, 14, "Erase Unavailable",
                   "Erase aborted! Slimkey 947 keys are not programmable."},
        RefusalRow{"Erase917Old", Command::Erase, 1, "Erase Settings Note", kErase91x},
        RefusalRow{"Erase917New", Command::Erase, 2, "Erase Settings Note", kErase91x},
        RefusalRow{"Erase917Bootloader", Command::Erase, 3, "Erase Settings Note",
                   kEraseInBootloader},
        RefusalRow{"EraseTdxxBootloader", Command::Erase, 4, "Erase Settings Note",
                   kEraseInBootloader},
        RefusalRow{"EraseTdsBootloader", Command::Erase, 7, "Erase Settings Note",
                   kEraseInBootloader},
        RefusalRow{"Erase947Bootloader", Command::Erase, 13, "Erase Settings Note",
                   kEraseInBootloader},
        RefusalRow{"EraseNoDevice", Command::Erase, 0, "Erase Settings Note", kNoDevice},
        RefusalRow{"RebootSeveral", Command::Reboot, -1, "Reboot Conflict",
                   "Reboot aborted! Please connect only one device."},
        RefusalRow{"RebootSlimkey", Command::Reboot, 14, "Reboot Unavailable",
                   "Reboot aborted! Slimkey 947 keys are not programmable."},
        RefusalRow{"Reboot917Old", Command::Reboot, 1, "Reboot Not Supported",
                   "Failure! 91x v4.1 through v5.0 do not support the Reboot command. Replug the "
                   "keypad instead."},
        RefusalRow{"Reboot917New", Command::Reboot, 2, "Reboot Not Supported",
                   "Failure! 91x v5.1 through v6.0 do not support the Reboot command. Replug the "
                   "keypad instead."},
        RefusalRow{"RebootNoDevice", Command::Reboot, 0, "Reboot Note", kNoDevice},
        RefusalRow{"LaunchSeveral", Command::Launch, -1, "Action Conflict",
                   "Action aborted! Please connect only one device."},
        RefusalRow{"LaunchSlimkey", Command::Launch, 14, "Action Unavailable",
                   "Slimkey 947 bootloader must be activated manually."},
        RefusalRow{"LaunchNoDevice", Command::Launch, 0, "Launch Bootloader Note", kNoDevice},
        RefusalRow{"Launch917Bootloader", Command::Launch, 3, "Note", "Bootloader already active!"},
        RefusalRow{"LaunchTdxxBootloader", Command::Launch, 4, "Note",
                   "Bootloader already active!"},
        RefusalRow{"LaunchTdsBootloader", Command::Launch, 7, "Note", "Bootloader already active!"},
        RefusalRow{"Launch947Bootloader", Command::Launch, 13, "Note",
                   "Bootloader already active!"},
        RefusalRow{"Launch917Old", Command::Launch, 1, "Note",
                   "Your device does not support this command."}),
    [](const testing::TestParamInfo<RefusalRow>& info) { return info.param.name; });

}  // namespace
}  // namespace tdxx::test
