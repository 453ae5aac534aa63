#pragma once

#include <string>

#include "app/Application.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

inline constexpr const char* kMainCaption = "TDxxLoad - Quorvane TDxx Keypad File Loader  -  v1.70";

// The main window's commands and start-up, free of any toolkit: the Qt window forwards its
// events here and implements the port. While a command runs the window's commands are disabled.
class MainWindowCommands {
 public:
  MainWindowCommands(Application& app, MainWindowPort& port);

  // Start-up sequence, run when the main window is made. The window starts tmrStartup after it.
  void FormCreate();
  // tmrStartup fired (one second after start): detects the device and, when the command line
  // named a file that left something to send, downloads it and closes after a success.
  void tmrStartupTimer();

  void btnOpenClick();
  void btnConnectClick();
  void btnDownloadClick();
  // tmrTModeDownload fired (started by the PRG/TMode guide window): runs Download as a click.
  void tmrTModeDownloadTimer();
  void btnRebootClick();
  void btnEraseClick();
  void mnuLaunchBootloaderClick();
  void mnuDownloadNormalClick() { SetDownloadMode(0); }
  void mnuDownloadViaTModeClick() { SetDownloadMode(1); }
  void mnuDownloadViaFlashDriveClick() { SetDownloadMode(2); }
  void btnExitClick();

  // Chooses the download method, ticks its menu item and stores it in TDxxLoad.ini. Returns
  // whether the settings were written; when not, the error was shown and the choice holds for
  // this run only.
  bool SetDownloadMode(int mode);

  // Full path of TDxxLoad.ini.
  std::string SettingsFilePath() const;
  // The last file chosen in the open-file dialog.
  const std::string& lastChosenFile() const { return lastChosenFile_; }

  Application& app() { return app_; }
  MainWindowPort& port() { return port_; }

 private:
  Application& app_;
  MainWindowPort& port_;
  std::string lastChosenFile_;
  int commandDepth_ = 0;
};

}  // namespace tdxx
