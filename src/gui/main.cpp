// The windowed program: builds the run's single instances, the four windows in their order, and
// runs the event loop until the main window closes.

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
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

// Messages go out through stdio: <iostream> would set up its eight standard streams and the
// classic locale before main, on every start.
void SayError(const std::string& text) {
  std::fputs(("tdxxload: " + text + "\n").c_str(), stderr);
}

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
      SayError(error);
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
      SayError("--record-hid: " + options.recordHidPath + " cannot be written");
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
  // The command line is read before the toolkit starts, so that --help, --version and a usage
  // error need no display; the toolkit's own options are passed over here.
  const tdxx::ProgramOptions options = tdxx::ParseProgramOptions(argc, argv);
  if (!options.error.empty()) {
    SayError(options.error + "\nTry 'tdxxload --help' for the options.");
    return 2;
  }
  if (options.showHelp || options.showVersion) {
    std::fputs((options.showHelp ? tdxx::ProgramHelpText() : tdxx::ProgramVersionText()).c_str(),
               stdout);
    return 0;
  }
  // Without any window system the toolkit would abort in its platform plugin.
  const std::string noDisplay = tdxx::MissingWindowSystem(
      options, [](const char* name) -> const char* { return std::getenv(name); });
  if (!noDisplay.empty()) {
    SayError(noDisplay);
    return 1;
  }
  // The toolkit takes its own options (-platform, -display, ...) out of argc and argv.
  tdxx::QtApplication qtApplication(argc, argv);
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
