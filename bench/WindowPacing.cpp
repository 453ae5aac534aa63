#include "WindowPacing.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/Application.h"
#include "app/MainWindowCommands.h"
#include "gui/QtClock.h"
#include "gui/QtProgramWindows.h"
#include "gui/TfrmMain.h"
#include "sim/Simulation.h"

namespace tdxx::bench {

namespace {

// The PRG/TMode download ends with a message box; a user would answer it. The boxes come after
// the device's last write, outside the measured span.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        box->accept();
    });
    timer_.start();
  }

 private:
  QTimer timer_;
};

}  // namespace

PacingResult RunKeyDownloadInWindow(const KeyDownloadCase& c, const std::string& folder) {
  PacingResult result;
  result.name = std::string(c.name) + " (window)";
  QtClock clock;
  std::string error;
  auto simulation = sim::Simulation::Create({c.device}, clock, error);
  if (!simulation) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return result;
  }
  AppEnvironment environment = BenchEnvironment(folder);
  environment.arguments = {std::string(TDXX_EXAMPLES_DIR) + "/" + c.file};
  environment.simulatedDevices = {c.device};
  NoDrive drive;
  Application app(environment, simulation->binder(), clock, drive);

  QtProgramWindows windows(app);
  TfrmMain& frmMain = windows.frmMain;
  MainWindowCommands& commands = windows.commands;
  commands.FormCreate();
  frmMain.show();
  QCoreApplication::processEvents();

  MessageBoxAnswerer answerer;
  if (c.method == 1)
    commands.mnuDownloadViaTModeClick();
  const double cpuBefore = CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  commands.btnConnectClick();
  app.state.taskDone = false;
  commands.btnDownloadClick();
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  result.cpuPercent = 100.0 * (CpuSeconds() - cpuBefore) / wall;
  result.ok = app.state.taskDone;
  MeasureKeyDownload(c, simulation->device(0), app.keyTable, result);
  frmMain.hide();
  return result;
}

}  // namespace tdxx::bench
