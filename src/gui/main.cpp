// The windowed program: builds the run's single instances, the four windows in their order, and
// runs the event loop until the main window closes.

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/AppEnvironment.h"
#include "app/Application.h"
#include "app/MainWindowCommands.h"
#include "gui/QtApplication.h"
#include "gui/QtClock.h"
#include "gui/QtCommandLine.h"
#include "gui/QtNarrowText.h"
#include "gui/QtOpenFileDialog.h"
#include "gui/QtProgramWindows.h"
#include "gui/TfrmMain.h"
#include "hid/DlopenHidBinder.h"
#include "hid/RecordingHidBinder.h"
#include "methods/KeypadDriveFinder.h"
#include "methods/LinuxDriveSystem.h"
#include "sim/Simulation.h"

namespace {

tdxx::AppEnvironment SystemEnvironment(const tdxx::ProgramOptions& options) {
  tdxx::AppEnvironment environment;
  environment.programFolder = tdxx::PathToNarrow(QCoreApplication::applicationDirPath()) + "/";
  environment.userDocumentsFolder =
      tdxx::PathToNarrow(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
  environment.arguments = options.arguments;
  environment.simulatedDevices = options.simulatedKinds;
  return environment;
}

int Run(const tdxx::ProgramOptions& options) {
  tdxx::QtClock clock;

  std::unique_ptr<tdxx::sim::Simulation> simulation;
  if (!options.simulatedKinds.empty()) {
    std::string error;
    simulation = tdxx::sim::Simulation::Create(options.simulatedKinds, clock, error);
    if (simulation == nullptr) {
      std::cerr << "tdxxload: " << error << '\n';
      return 2;
    }
  }
  tdxx::DlopenHidBinder hidLibrary;
  tdxx::HidLibraryBinder* binder = simulation != nullptr
                                       ? &simulation->binder()
                                       : static_cast<tdxx::HidLibraryBinder*>(&hidLibrary);
  // --record-hid: every HID call goes through the recorder to the file.
  std::ofstream recordFile;
  std::unique_ptr<tdxx::RecordingHidBinder> recorder;
  if (!options.recordHidPath.empty()) {
    recordFile.open(options.recordHidPath, std::ios::out | std::ios::trunc);
    if (!recordFile) {
      std::cerr << "tdxxload: --record-hid: " << options.recordHidPath << " cannot be written\n";
      return 2;
    }
    recorder = std::make_unique<tdxx::RecordingHidBinder>(*binder, clock, recordFile);
    binder = recorder.get();
  }

  tdxx::LinuxDriveSystem driveSystem;
  tdxx::KeypadDriveFinder driveFinder(driveSystem);

  tdxx::Application app(SystemEnvironment(options), *binder, clock, driveFinder);

  tdxx::QtProgramWindows windows(app);
  windows.commands.FormCreate();
  windows.frmMain.show();
  if (!options.keysFile.empty())
    windows.frmKeyMap.ShowFile(options.keysFile);
  windows.frmMain.StartStartupTimer();
  QCoreApplication::exec();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The toolkit takes its own options (-platform, -display, ...) out of argc and argv first.
  tdxx::QtApplication qtApplication(argc, argv);
  const tdxx::ProgramOptions options = tdxx::ParseProgramOptions(argc, argv);
  if (!options.error.empty()) {
    std::cerr << "tdxxload: " << options.error << '\n';
    return 2;
  }
  try {
    return Run(options);
  } catch (const std::exception& error) {
    // An error that escapes start-up (or the event loop) ends the program.
    tdxx::ShowStandardErrorBox(nullptr, tdxx::DisplayText(error.what()));
  } catch (...) {
    tdxx::ShowStandardErrorBox(nullptr, QStringLiteral("Unknown error."));
  }
  return 1;
}
