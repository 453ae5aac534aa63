// Every device kind against every file type and download method: which flow the Download
// command runs, or what it says instead. The expected grid is written down from the command's
// decision tables, not taken from the program's own device table, and each case runs against
// the simulated device of that kind after a Connect, so the kind is the one detection gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

// What the Download command does.
enum class Way {
  Conflict,       // "Download Conflict" box
  Unavailable,    // the Slimkey's "Download Unavailable" box
  NoFile,         // log line and "Download Note" box
  NoKeys,         // "There is no key data to send."
  Mismatch,       // "Download Mismatch" box
  Guide,          // the PRG/TMode guide window, nothing else
  Standard24,     // the standard download of the first 24 keys, with the notice
  StandardAll,    // the standard download of every key
  PrgTMode,       // the PRG/TMode download of every key
  Silent,         // nothing at all
  InBootloader,   // "You are in Bootloader mode." box
  PlugIn,         // "Plug in your keypad" box
  BinLog,         // the flash-drive method log line, no box
  FlashWindow,    // the flash-drive window
  FwUnsupported,  // "Your device does not support firmware update."
  FwAsk,          // the bootloader question (answered No: nothing sent)
  FwWrite,        // the image is written
  FwSize947,      // "947 UPG Download" size refusal
  FwNothing,      // the firmware flow detects, finds nothing, says nothing
};

struct KindRow {
  DeviceKind kind;
  std::vector<std::string> devices;  // simulated devices whose detection gives the kind
  Way none, ckdWithoutKeys, ckdStandard, ckdPrg, ckdFlash, binStandard, binPrg, binFlash, upg;
};

using W = Way;
// clang-format off
const std::vector<KindRow> kRows = {
  // kind, devices           no file         CKD 0 keys      CKD std          CKD PRG         CKD flash       BIN std          BIN PRG          BIN flash        UPG
  { -1, {"td-a", "wk-c"},    W::Conflict,    W::Conflict,    W::Conflict,     W::Conflict,    W::Conflict,    W::Conflict,     W::Conflict,     W::Conflict,     W::Conflict},
  {  0, {},                  W::NoFile,      W::NoKeys,      W::PlugIn,       W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwNothing},
  {  1, {"917-v4"},          W::NoFile,      W::NoKeys,      W::Silent,       W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwUnsupported},
  {  2, {"917-v5"},          W::NoFile,      W::NoKeys,      W::Standard24,   W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  {  3, {"917-bootloader"},  W::NoFile,      W::NoKeys,      W::InBootloader, W::Guide,       W::Mismatch,    W::InBootloader, W::InBootloader, W::InBootloader, W::FwWrite},
  {  4, {"tdxx-bootloader"}, W::NoFile,      W::NoKeys,      W::InBootloader, W::Guide,       W::Mismatch,    W::InBootloader, W::InBootloader, W::InBootloader, W::FwWrite},
  {  5, {"td-a"},            W::NoFile,      W::NoKeys,      W::Standard24,   W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  {  6, {"td-b"},            W::NoFile,      W::NoKeys,      W::StandardAll,  W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  {  7, {"tds-bootloader"},  W::NoFile,      W::NoKeys,      W::InBootloader, W::Guide,       W::Mismatch,    W::InBootloader, W::InBootloader, W::InBootloader, W::FwWrite},
  {  8, {"wk-c"},            W::NoFile,      W::NoKeys,      W::StandardAll,  W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  {  9, {"prg-tmode-wk-c"},  W::NoFile,      W::NoKeys,      W::PrgTMode,     W::PrgTMode,    W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  { 10, {"td-a-kbmouse"},    W::NoFile,      W::NoKeys,      W::Standard24,   W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  { 11, {"td-b-kbmouse"},    W::NoFile,      W::NoKeys,      W::StandardAll,  W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  { 12, {"wk-c-kbmouse"},    W::NoFile,      W::NoKeys,      W::StandardAll,  W::Guide,       W::Mismatch,    W::BinLog,       W::BinLog,       W::FlashWindow,  W::FwAsk},
  { 13, {"947-bootloader"},  W::NoFile,      W::NoKeys,      W::InBootloader, W::Guide,       W::Mismatch,    W::InBootloader, W::InBootloader, W::InBootloader, W::FwSize947},
  { 14, {"slimkey-947"},     W::Unavailable, W::Unavailable, W::Unavailable,  W::Unavailable, W::Unavailable, W::Unavailable,  W::Unavailable,  W::Unavailable,  W::Unavailable},
};
// clang-format on

constexpr int kKeysInFile = 30;  // more than the 24 the small keypads take

struct Case {
  const KindRow* row;
  std::int32_t fileType;
  std::int32_t keyCount;
  std::int32_t method;
  Way way;
  std::string name;
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const KindRow& row : kRows) {
    const std::string kind = row.kind < 0 ? "Several" : "Kind" + std::to_string(row.kind);
    const char* methods[] = {"Standard", "Prg", "Flash"};
    for (std::int32_t method = 0; method < 3; ++method) {
      const Way ckd[] = {row.ckdStandard, row.ckdPrg, row.ckdFlash};
      const Way bin[] = {row.binStandard, row.binPrg, row.binFlash};
      const std::string m = methods[method];
      cases.push_back({&row, kFileNone, 0, method, row.none, kind + "_NoFile_" + m});
      cases.push_back({&row, kFileCkd, kKeysInFile, method, ckd[method], kind + "_Ckd_" + m});
      cases.push_back({&row, kFileBin, 0, method, bin[method], kind + "_Bin_" + m});
      cases.push_back({&row, kFileUpg, 0, method, row.upg, kind + "_Upg_" + m});
    }
    cases.push_back({&row, kFileCkd, 0, 0, row.ckdWithoutKeys, kind + "_CkdWithoutKeys"});
  }
  return cases;
}

constexpr const char* kInBootloader =
    "You are in Bootloader mode. Re-plug your\r keypad and click \"Connect\" to continue.";

class DownloadDispatch : public DownloadFixture, public testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    const Case& c = GetParam();
    StartAndConnect(c.row->devices);
    ASSERT_EQ(app->state.deviceKind, c.row->kind) << port->keypadText;
    port->SetKeypadText("");
    app->keyTable = SampleKeyTable();
    app->firmware.image.fill(0xFF);  // a blank image: only the erase and the restart go
    app->firmware.imageLength = 64000;
    app->state.loadedFileType = c.fileType;
    app->state.keyCount = c.keyCount;
    app->state.downloadMode = c.method;
    app->state.dataFileName = temp / "file";
  }

  // No report reached any device.
  bool NothingSent() {
    for (std::size_t i = 0; i < GetParam().row->devices.size(); ++i) {
      if (!device(i).featureReports().empty() || !device(i).outputReports().empty())
        return false;
    }
    return true;
  }
  // The firmware flow detects again, which reads the identity and versions of bootloaders and
  // PRG/TMode devices; beyond that, no command and no key reached the device.
  bool NothingSentButDetection() {
    if (GetParam().row->devices.empty())
      return true;
    const std::vector<std::uint8_t> payload = device().receivedPayload();
    const auto contains = [&payload](std::vector<std::uint8_t> command) {
      return std::search(payload.begin(), payload.end(), command.begin(), command.end()) !=
             payload.end();
    };
    return device().featureReports().empty() && !contains({0x40, 0x17, 0x45, 0x61}) &&
           !contains({0x40, 0x0B, 0x52, 0x62}) && !contains({0x40, 0x04});
  }
  void ExpectOnlyBox(const std::string& title, const std::string& text, const std::string& log = "",
                     bool detects = false) {
    ASSERT_EQ(port->messages.size(), 1u) << port->log;
    EXPECT_EQ(port->messages[0].title, title);
    EXPECT_EQ(port->messages[0].text, text);
    EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(port->messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(port->modalWindows.empty());
    EXPECT_EQ(port->log, log);
    EXPECT_TRUE(detects ? NothingSentButDetection() : NothingSent());
  }
  void ExpectQuiet(const std::string& log = "") {
    EXPECT_TRUE(port->messages.empty()) << port->messages[0].text;
    EXPECT_EQ(port->log, log);
    EXPECT_TRUE(NothingSent());
  }
  void ExpectKeysSent(int keys, bool overStream) {
    const sim::ReceivedKeyImage image = Received();
    EXPECT_EQ(image.CompleteKeyCount(), keys);
    EXPECT_EQ(static_cast<int>(image.keys.size()), keys);
    EXPECT_TRUE(image.endByte);
    EXPECT_EQ(device().featureReports().empty(), overStream);
    EXPECT_NE(port->log.find("\r\nSUCCESS! Download Complete.\r\n"), std::string::npos)
        << port->log;
    EXPECT_TRUE(app->state.taskDone);
  }
};

TEST_P(DownloadDispatch, TakesTheWayOfTheTables) {
  const Case& c = GetParam();
  commands->btnDownloadClick();

  switch (c.way) {
    case Way::Conflict:
      ExpectOnlyBox("Download Conflict", "Download aborted! Please connect only one device.");
      break;
    case Way::Unavailable:
      ExpectOnlyBox("Download Unavailable",
                    "Download aborted! Slimkey 947 keys are not programmable.\r\nManually launch "
                    "the 947 bootloader for UPG upgrade.");
      break;
    case Way::NoFile:
      ExpectOnlyBox("Download Note", "You must open a file before you can download!",
                    "\r\nDownload canceled: no data file specified.");
      break;
    case Way::NoKeys:
      ExpectOnlyBox("Download Note", "Download aborted! There is no key data to send.");
      break;
    case Way::Mismatch:
      ExpectOnlyBox("Download Mismatch",
                    "You have opened a CKD file but your Download Option is Flash Drive.\r\nEither "
                    "change your \"Option\" or open a BIN file for Flash Drive Copy.");
      break;
    case Way::Guide:
      ExpectQuiet();
      EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::TMode});
      break;
    case Way::Standard24:
      EXPECT_NE(port->log.find("\r\nIMPORTANT: Downloading only first 24 keys of file!\r\n"
                               "Downloading 24 keys.\r\n...Download start"),
                std::string::npos)
          << port->log;
      ExpectKeysSent(24, false);
      EXPECT_TRUE(port->modalWindows.empty());
      break;
    case Way::StandardAll:
      EXPECT_EQ(port->log.find("IMPORTANT"), std::string::npos);
      EXPECT_NE(port->log.find("\r\nDownloading 30 keys.\r\n...Download start"), std::string::npos)
          << port->log;
      ExpectKeysSent(kKeysInFile, false);
      EXPECT_TRUE(port->modalWindows.empty());
      break;
    case Way::PrgTMode:
      EXPECT_NE(port->log.find("\r\nDownloading 30 keys via PRG/TMode."), std::string::npos)
          << port->log;
      ExpectKeysSent(kKeysInFile, true);
      EXPECT_TRUE(port->modalWindows.empty());
      break;
    case Way::Silent:
      ExpectQuiet();
      EXPECT_TRUE(port->modalWindows.empty());
      break;
    case Way::InBootloader:
      ExpectOnlyBox("Failure!", kInBootloader);
      break;
    case Way::PlugIn:
      ExpectOnlyBox("Failure!", "Plug in your keypad and click \"Connect\" to continue.");
      break;
    case Way::BinLog:
      ExpectQuiet("\r\nBIN file must use Flash Drive Copy method (click Options).");
      EXPECT_TRUE(port->modalWindows.empty());
      break;
    case Way::FlashWindow:
      ExpectQuiet();
      EXPECT_EQ(port->modalWindows, std::vector<ModalWindow>{ModalWindow::FlashDrive});
      break;
    case Way::FwUnsupported:
      ExpectOnlyBox("Flash Update Note", "Your device does not support firmware update.", "", true);
      break;
    case Way::FwAsk:
      ASSERT_EQ(port->messages.size(), 1u);
      EXPECT_EQ(port->messages[0].text,
                "Your device needs to be in Bootloader mode.\r\nWould you like to activate it?");
      EXPECT_EQ(port->messages[0].icon, MessageIcon::Question);
      EXPECT_EQ(port->messages[0].buttons, MessageButtons::YesNo);
      EXPECT_EQ(port->log, "");
      EXPECT_TRUE(NothingSentButDetection());
      break;
    case Way::FwWrite:
      EXPECT_TRUE(port->messages.empty());
      EXPECT_TRUE(EndsWith(port->log, "\r\nSUCCESS! Download Complete.\r\n")) << port->log;
      EXPECT_FALSE(NothingSentButDetection());
      break;
    case Way::FwSize947:
      ExpectOnlyBox("947 UPG Download", "Download aborted! Filesize incorrect.", "", true);
      break;
    case Way::FwNothing:
      ExpectQuiet();
      // The firmware flow ran: it detected again.
      EXPECT_EQ(port->keypadText, "No Tasterdeck found! Please connect your USB keypad.");
      break;
  }
  EXPECT_EQ(app->state.loadedFileType, c.fileType);
  EXPECT_EQ(app->state.downloadMode, c.method);
  EXPECT_TRUE(port->commandsEnabled);
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKindFileAndMethod, DownloadDispatch, testing::ValuesIn(AllCases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace tdxx::test
