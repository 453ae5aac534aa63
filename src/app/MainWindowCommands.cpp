#include "app/MainWindowCommands.h"

#include <string>

#include "app/CommandLineFile.h"
#include "app/CommandScope.h"
#include "app/SettingsFolders.h"
#include "files/PrivateProfile.h"
#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"

namespace tdxx {

MainWindowCommands::MainWindowCommands(Application& app, MainWindowPort& port)
    : app_(app), port_(port) {}

std::string MainWindowCommands::SettingsFilePath() const {
  return app_.state.settingsFolder + "/" + kSettingsFileName;
}

void MainWindowCommands::FormCreate() {
  MainWindowState& state = app_.state;
  port_.SetCaption(kMainCaption);
  state.loadedFileType = kFileNone;
  state.keyCount = 0;
  state.deviceKind = 0;

  if (!app_.environment.simulatedDevices.empty()) {
    port_.LogProgress(SimulatedDevicesLine(app_.environment.simulatedDevices) + "\r\n");
  }

  const SettingsFolders folders = PrepareSettingsFolders(app_.environment);
  state.locationIniPath = folders.locationIniPath;
  state.useMyDocuments = folders.useMyDocuments;
  state.settingsFolder = folders.settingsFolder;
  state.macroFilesFolder = folders.macroFilesFolder;

  state.downloadMode = 0;
  const std::int32_t stored =
      ReadProfileInt(SettingsFilePath(), kSettingsSection, "DownloadMode", 0);
  if (stored == 1) {
    port_.SetMethodTicks(false, true, false);
    state.downloadMode = 1;
  } else if (stored == 2) {
    port_.SetMethodTicks(false, false, true);
    state.downloadMode = 2;
  } else {
    port_.SetMethodTicks(true, false, false);
  }

  // One data file on the command line is loaded now; with two or more nothing is loaded.
  if (app_.environment.arguments.size() == 1)
    LoadCommandLineFile(app_, port_, app_.environment.arguments.front());
}

bool MainWindowCommands::SetDownloadMode(int mode) {
  CommandScope scope(port_, commandDepth_);
  MainWindowState& state = app_.state;
  state.downloadMode = 0;
  if (mode == 1) {
    port_.SetMethodTicks(false, true, false);
    state.downloadMode = 1;
  } else if (mode == 2) {
    port_.SetMethodTicks(false, false, true);
    state.downloadMode = 2;
  } else {
    port_.SetMethodTicks(mode == 0, false, false);
  }
  const std::string path = SettingsFilePath();
  if (!WriteProfileString(path, kSettingsSection, "DownloadMode",
                          std::to_string(state.downloadMode))) {
    port_.ShowError("Unable to write to " + path);
    return false;
  }
  return true;
}

void MainWindowCommands::tmrStartupTimer() {
  // The timer is one-shot: it has stopped by the time it fires, so the modal windows and boxes
  // of the download below cannot make it fire again.
  CommandScope scope(port_, commandDepth_);
  ProtocolContext ctx = app_.Protocol(port_);
  DetectKeypad(ctx, false);
  if (app_.environment.arguments.size() != 1 || app_.state.deviceKind == kSeveralDevices)
    return;
  if (!StartupDownloadWanted(app_.state))
    return;
  app_.state.taskDone = false;
  btnDownloadClick();
  if (app_.state.taskDone) {
    port_.Pause(Milliseconds(1000));
    port_.CloseMainWindow();
  }
}

void MainWindowCommands::btnConnectClick() {
  CommandScope scope(port_, commandDepth_);
  port_.SetKeypadText("");
  port_.RepaintNow();
  port_.Pause(Milliseconds(100));
  ProtocolContext ctx = app_.Protocol(port_);
  DetectKeypad(ctx, false);
}

// Download, Erase CKD, Reboot and Launch Bootloader have files of their own.

void MainWindowCommands::btnExitClick() {
  port_.CloseMainWindow();
}

}  // namespace tdxx
