#include "app/MainWindowCommands.h"

namespace tdxx {

MainWindowCommands::MainWindowCommands(Application& app, MainWindowPort& port)
    : app_(app), port_(port) {}

void MainWindowCommands::FormCreate() { port_.SetCaption(kMainCaption); }
void MainWindowCommands::tmrStartupTimer() {}
void MainWindowCommands::btnOpenClick() {}
void MainWindowCommands::btnConnectClick() {}
void MainWindowCommands::btnDownloadClick() {}
void MainWindowCommands::btnRebootClick() {}
void MainWindowCommands::btnEraseClick() {}
void MainWindowCommands::mnuLaunchBootloaderClick() {}
void MainWindowCommands::btnExitClick() { port_.CloseMainWindow(); }
void MainWindowCommands::SetDownloadMode(int) {}
std::string MainWindowCommands::SettingsFilePath() const {
  return app_.state.settingsFolder + "/TDxxLoad.ini";
}

}  // namespace tdxx
