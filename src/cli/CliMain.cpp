#include "cli/CliMain.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/Application.h"
#include "cli/ConsolePort.h"
#include "cli/DetectCommand.h"
#include "cli/DataFileReport.h"
#include "hid/Clock.h"
#include "hid/DlopenHidBinder.h"
#include "methods/KeypadDriveFinder.h"
#include "methods/LinuxDriveSystem.h"
#include "sim/Simulation.h"

namespace tdxx::cli {

namespace {

constexpr int kUsageError = 2;

std::vector<std::string> SplitKinds(const std::string& list) {
  std::vector<std::string> kinds;
  std::stringstream stream(list);
  std::string kind;
  while (std::getline(stream, kind, ',')) {
    if (!kind.empty())
      kinds.push_back(kind);
  }
  return kinds;
}

std::string KnownKindsText() {
  std::string text;
  for (const std::string& kind : sim::Simulation::KnownKinds()) {
    if (!text.empty())
      text += ", ";
    text += kind;
  }
  return text;
}

}  // namespace

int RunCli(int argc, char** argv) {
  CLI::App cli{"tdxxload-cli: scriptable front end of the Quorvane keypad file loader"};
  cli.set_version_flag("--version", "tdxxload-cli 1.70");
  cli.require_subcommand(0, 1);

  std::string simulate;
  cli.add_option(
      "--simulate", simulate,
      "Use simulated devices instead of USB hardware: KIND[,KIND...] of " + KnownKindsText());

  bool inspectJson = false;
  std::string inspectPath;
  CLI::App* inspect = cli.add_subcommand("inspect", "Read a .ckd, .upg or .bin file and show it");
  inspect->add_flag("--json", inspectJson, "Print one JSON object");
  inspect->add_option("FILE", inspectPath, "The data file")->required();

  bool detectJson = false;
  CLI::App* detect = cli.add_subcommand("detect", "Find the connected device, as Connect does");
  detect->add_flag("--json", detectJson, "Print one JSON object");

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e) == 0 ? 0 : kUsageError;
  }

  if (inspect->parsed()) {
    return RunInspect(inspectPath, inspectJson, std::cout, std::cerr);
  }
  if (!detect->parsed()) {
    std::cout << cli.help();
    return 0;
  }

  SystemClock clock;
  AppEnvironment environment;
  environment.simulatedDevices = SplitKinds(simulate);
  DlopenHidBinder hidapi;
  std::unique_ptr<sim::Simulation> simulation;
  HidLibraryBinder* binder = &hidapi;
  if (!simulate.empty()) {
    std::string error;
    simulation = sim::Simulation::Create(environment.simulatedDevices, clock, error);
    if (!simulation) {
      std::cerr << "--simulate: " << error << "\n";
      return kUsageError;
    }
    binder = &simulation->binder();
    std::cerr << SimulatedDevicesLine(environment.simulatedDevices) << "\n";
  }
  LinuxDriveSystem drives;
  KeypadDriveFinder driveFinder(drives);
  Application app(environment, *binder, clock, driveFinder);
  ConsolePort port(clock, std::cerr);
  return RunDetect(app, port, detectJson, std::cout);
}

}  // namespace tdxx::cli
