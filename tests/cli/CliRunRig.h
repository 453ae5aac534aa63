#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "FakeDriveLocator.h"
#include "TempFolder.h"
#include "TemporaryEnvironment.h"
#include "app/Application.h"
#include "cli/DeviceCommand.h"
#include "sim/Simulation.h"
#include "sim/VirtualClock.h"

namespace tdxx::test {

inline std::string ExampleCkd(const char* name) {
  return (std::filesystem::path(__FILE__).parent_path() / "../../examples" / name).string();
}

// Runs device commands in process over any HID binder on virtual time, each with its JSON
// report, as tdxxload-cli would with --json.
class CliRunRig : public ::testing::Test {
 protected:
  void Plug(const std::vector<std::string>& kinds) {
    std::string error;
    simulation = sim::Simulation::Create(kinds, clock, error);
    ASSERT_NE(simulation, nullptr) << error;
  }

  // One command; `devicePath` as --device.
  nlohmann::json Run(HidLibraryBinder& binder, const std::string& file,
                     cli::DeviceCommandOptions options = {}, const std::string& devicePath = "") {
    options.json = true;
    return nlohmann::json::parse(RunOutput(binder, file, options, devicePath));
  }

  // One command's standard output, as text unless `options` asks for JSON.
  std::string RunOutput(HidLibraryBinder& binder, const std::string& file,
                        const cli::DeviceCommandOptions& options,
                        const std::string& devicePath = "") {
    environment.arguments = {file};
    Application app(environment, binder, clock, drive);
    app.transport.SetDeviceFilter(devicePath);
    cli::ConsolePort port(clock, errors);
    std::istringstream in;
    std::ostringstream out;
    exitCode = cli::RunDeviceCommand(app, port, options, in, out, errors);
    return out.str();
  }

  TempFolder temp;
  AppEnvironment environment = TemporaryEnvironment(temp);
  sim::VirtualClock clock;
  std::unique_ptr<sim::Simulation> simulation;
  FakeDriveLocator drive;
  std::ostringstream errors;
  int exitCode = -1;
};

}  // namespace tdxx::test
