// The Download command: chooses the flow for the loaded file, the detected device and the
// download method, or tells the user why none fits.
#include <string_view>

#include "app/CommandScope.h"
#include "app/DeviceCommandOutcome.h"
#include "app/FirmwareUpdateFlow.h"
#include "app/KeyDefinitionLoad.h"
#include "app/MainWindowCommands.h"
#include "app/StandardDownloadFlow.h"
#include "app/TModeDownloadFlow.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx {
namespace {

constexpr std::int32_t kMethodTMode = 1;
constexpr std::int32_t kMethodFlashDrive = 2;

void Warn(MainWindowPort& port, std::string_view text, std::string_view title) {
  port.ShowMessage(text, title, MessageIcon::Warning, MessageButtons::Ok);
}

void RefuseBootloader(MainWindowPort& port) {
  Warn(port, "You are in Bootloader mode. Re-plug your\r keypad and click \"Connect\" to continue.",
       "Failure!");
}

void DownloadKeyDefinitions(Application& app, MainWindowPort& port) {
  const MainWindowState& state = app.state;
  const DeviceKindFacts& device = FactsOf(state.deviceKind);
  if (state.keyCount == 0) {
    Warn(port, "Download aborted! There is no key data to send.", "Download Note");
  } else if (state.downloadMode == kMethodFlashDrive) {
    Warn(port,
         "You have opened a CKD file but your Download Option is Flash Drive.\r\nEither change "
         "your \"Option\" or open a BIN file for Flash Drive Copy.",
         "Download Mismatch");
  } else if (state.downloadMode == kMethodTMode && device.group != DeviceGroup::PrgTMode) {
    port.ShowModalWindow(ModalWindow::TMode);
  } else if (device.keyDownload == KeyDownload::Standard) {
    WarnOfLoadedKeyProblems(app, port);
    RunStandardDownload(app, port);
  } else if (device.keyDownload == KeyDownload::PrgTMode) {
    WarnOfLoadedKeyProblems(app, port);
    RunTModeDownload(app, port);
  } else if (device.keyDownload == KeyDownload::Silent) {
    // The older 917 firmware gets no download and no message.
  } else if (device.group == DeviceGroup::Bootloader) {
    RefuseBootloader(port);
  } else {
    Warn(port, "Plug in your keypad and click \"Connect\" to continue.", "Failure!");
  }
}

void CopyFlashDriveFile(Application& app, MainWindowPort& port) {
  const MainWindowState& state = app.state;
  if (IsBootloaderKind(state.deviceKind)) {
    RefuseBootloader(port);
  } else if (state.downloadMode != kMethodFlashDrive) {
    port.LogProgress("\r\nBIN file must use Flash Drive Copy method (click Options).");
  } else {
    port.ShowModalWindow(ModalWindow::FlashDrive);
    // The keypad takes the copied file over only once its switch is back in the keyboard
    // position.
    if (app.driveLocator.FindKeypadDrive()) {
      port.ShowMessage("To return to normal operation, restore the REAR PANEL SWITCH.",
                       "Download/Copy Note", MessageIcon::None, MessageButtons::Ok);
    }
  }
}

}  // namespace

void MainWindowCommands::btnDownloadClick() {
  CommandScope scope(port_, commandDepth_);
  const MainWindowState& state = app_.state;
  if (state.deviceKind == kSeveralDevices) {
    ShowConflict(port_, app_.transport, "Download aborted! Please connect only one device.",
                 "Download Conflict");
    return;
  }
  if (FactsOf(state.deviceKind).group == DeviceGroup::Slimkey) {
    Warn(port_,
         "Download aborted! Slimkey 947 keys are not programmable.\r\nManually launch the 947 "
         "bootloader for UPG upgrade.",
         "Download Unavailable");
    return;
  }
  switch (state.loadedFileType) {
    case kFileCkd:
      DownloadKeyDefinitions(app_, port_);
      return;
    case kFileBin:
      CopyFlashDriveFile(app_, port_);
      return;
    case kFileUpg:
      RunFirmwareUpdate(app_, port_);
      return;
    default:
      port_.LogProgress("\r\nDownload canceled: no data file specified.");
      Warn(port_, "You must open a file before you can download!", "Download Note");
      return;
  }
}

void MainWindowCommands::tmrTModeDownloadTimer() {
  // The timer is one-shot: it has stopped by the time it fires.
  btnDownloadClick();
}

}  // namespace tdxx
