#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppFixture.h"

namespace tdxx::test {
namespace {

constexpr const char* kBootloaderText =
    "You are in Bootloader mode. Re-plug your\r keypad and click \"Connect\" to continue.";

// One row of the Download command's tables. Without a HID library a flow that runs fails on
// its own; the row only checks which way the command went.
struct DownloadRow {
  const char* name;
  std::int32_t fileType;
  std::int32_t keyCount;
  std::int32_t mode;
  DeviceKind kind;
  const char* title;                 // box expected ("" none)
  const char* text;                  // its text
  const char* logHead;               // what the log starts with ("" nothing logged)
  std::vector<ModalWindow> windows;  // windows shown modally, in order
};

class DownloadCommandRow : public AppFixture, public testing::WithParamInterface<DownloadRow> {};

TEST_P(DownloadCommandRow, TakesTheWayOfItsTableRow) {
  const DownloadRow& row = GetParam();
  Start();
  app->state.loadedFileType = row.fileType;
  app->state.keyCount = row.keyCount;
  app->state.downloadMode = row.mode;
  app->state.deviceKind = row.kind;
  commands->btnDownloadClick();

  if (*row.title != 0) {
    ASSERT_FALSE(port->messages.empty());
    EXPECT_EQ(port->messages[0].title, row.title);
    EXPECT_EQ(port->messages[0].text, row.text);
    EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(port->messages[0].buttons, MessageButtons::Ok);
  } else {
    EXPECT_TRUE(port->messages.empty());
  }
  EXPECT_EQ(port->log.substr(0, std::string(row.logHead).size()), row.logHead);
  if (*row.logHead == 0) {
    EXPECT_EQ(port->log, "");
  }
  EXPECT_EQ(port->modalWindows, row.windows);
  EXPECT_EQ(app->state.loadedFileType, row.fileType);
  EXPECT_EQ(app->state.downloadMode, row.mode);
  EXPECT_TRUE(port->commandsEnabled);
}

constexpr std::int32_t kNone = kFileNone, kCkd = kFileCkd, kBin = kFileBin, kUpg = kFileUpg;

INSTANTIATE_TEST_SUITE_P(
    Rows, DownloadCommandRow,
    testing::Values(
        DownloadRow{"SeveralDevicesEvenWithoutFile",
                    kNone,
                    0,
                    0,
                    -1,
                    "Download Conflict",
                    "Download aborted! Please connect only one device.",
                    "",
                    {}},
        DownloadRow{"Slimkey947",
                    kCkd,
                    24,
                    0,
                    14,
                    "Download Unavailable",
                    "Download aborted! Slimkey 947 keys are not programmable.\r\nManually launch "
                    "the 947 bootloader for UPG upgrade.",
                    "",
                    {}},
        DownloadRow{"CkdWithoutKeys",
                    kCkd,
                    0,
                    0,
                    5,
                    "Download Note",
                    "Download aborted! There is no key data to send.",
                    "",
                    {}},
        DownloadRow{"CkdWithFlashDriveMethod",
                    kCkd,
                    24,
                    2,
                    9,
                    "Download Mismatch",
                    "You have opened a CKD file but your Download Option is Flash Drive.\r\n"
                    "Either change your \"Option\" or open a BIN file for Flash Drive Copy.",
                    "",
                    {}},
        DownloadRow{
            "CkdTModeMethodKeypadInNormalMode", kCkd, 48, 1, 6, "", "", "", {ModalWindow::TMode}},
        DownloadRow{"CkdStandardToTdB",
                    kCkd,
                    48,
                    0,
                    6,
                    "",
                    "",
                    "\r\nDownloading 48 keys.\r\n...Download start",
                    {ModalWindow::DownloadFail}},
        DownloadRow{"CkdStandardMethodDeviceInPrgTMode",
                    kCkd,
                    48,
                    0,
                    9,
                    "",
                    "",
                    "\r\nDownloading 48 keys via PRG/TMode.",
                    {}},
        DownloadRow{"CkdTModeMethodDeviceInPrgTMode",
                    kCkd,
                    24,
                    1,
                    9,
                    "",
                    "",
                    "\r\nDownloading 24 keys via PRG/TMode.",
                    {}},
        DownloadRow{"CkdOlder917DoesNothing", kCkd, 24, 0, 1, "", "", "", {}},
        DownloadRow{"CkdToBootloader", kCkd, 24, 0, 7, "Failure!", kBootloaderText, "", {}},
        DownloadRow{"CkdTo947Bootloader", kCkd, 24, 0, 13, "Failure!", kBootloaderText, "", {}},
        DownloadRow{"CkdWithoutDevice",
                    kCkd,
                    24,
                    0,
                    0,
                    "Failure!",
                    "Plug in your keypad and click \"Connect\" to continue.",
                    "",
                    {}},
        DownloadRow{"BinToBootloader", kBin, 0, 2, 4, "Failure!", kBootloaderText, "", {}},
        DownloadRow{"BinWithStandardMethod",
                    kBin,
                    0,
                    0,
                    5,
                    "",
                    "",
                    "\r\nBIN file must use Flash Drive Copy method (click Options).",
                    {}},
        DownloadRow{"BinWithFlashDriveMethodNoDevice",
                    kBin,
                    0,
                    2,
                    0,
                    "",
                    "",
                    "",
                    {ModalWindow::FlashDrive}},
        // The firmware update detects on its own; without a HID library it finds nothing.
        DownloadRow{"UpgWithoutDevice", kUpg, 0, 0, 0, "", "", "", {}},
        DownloadRow{"NoFile",
                    kNone,
                    0,
                    0,
                    0,
                    "Download Note",
                    "You must open a file before you can download!",
                    "\r\nDownload canceled: no data file specified.",
                    {}}),
    [](const testing::TestParamInfo<DownloadRow>& info) { return info.param.name; });

using DownloadCommand = AppFixture;

TEST_F(DownloadCommand, BootloaderKindsAllRefuseKeyDefinitionsAndBinFiles) {
  Start();
  for (std::int32_t fileType : {kCkd, kBin}) {
    for (DeviceKind kind : {3, 4, 7, 13}) {
      port->messages.clear();
      app->state.loadedFileType = fileType;
      app->state.keyCount = 24;
      app->state.deviceKind = kind;
      commands->btnDownloadClick();
      ASSERT_EQ(port->messages.size(), 1u) << kind;
      EXPECT_EQ(port->messages[0].text, kBootloaderText) << kind;
    }
  }
}

TEST_F(DownloadCommand, TModeTimerRunsTheCommandAsAClick) {
  Start();
  commands->tmrTModeDownloadTimer();
  EXPECT_EQ(port->log, "\r\nDownload canceled: no data file specified.");
  EXPECT_EQ(port->commandsEnabledHistory, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace tdxx::test
