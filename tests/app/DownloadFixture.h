#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "FakeDriveLocator.h"
#include "FakeMainWindowPort.h"
#include "KeyTableSamples.h"
#include "TempFolder.h"
#include "TemporaryEnvironment.h"
#include "app/Application.h"
#include "app/MainWindowCommands.h"
#include "sim/SimulatedBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/Simulation.h"
#include "sim/VirtualClock.h"

namespace tdxx::test {

// A started main window over temporary folders and simulated devices on virtual time, with a
// CKD file's images loaded (the sample key table) and the device detected as Connect leaves it.
class DownloadFixture : public ::testing::Test {
 protected:
  ~DownloadFixture() override {
    commands.reset();
    app.reset();
    if (simulation) {
      // hidapi allows one call at a time on a connection; a wait nothing could end means the
      // test depended on real timing.
      EXPECT_EQ(simulation->bus().overlaps(), 0);
      EXPECT_EQ(clock.stalls(), 0);
    }
  }

  void Start(const std::vector<std::string>& kinds) {
    std::string error;
    simulation = sim::Simulation::Create(kinds, clock, error);
    ASSERT_NE(simulation, nullptr) << error;
    app = std::make_unique<Application>(environment, simulation->binder(), clock, drive);
    port = std::make_unique<FakeMainWindowPort>(clock);
    commands = std::make_unique<MainWindowCommands>(*app, *port);
    commands->FormCreate();
  }

  // Starts over with new devices (as a second Connect in one test does) and runs Connect; what
  // the device received and the port recorded until then is cleared.
  void StartAndConnect(const std::vector<std::string>& kinds) {
    commands.reset();
    app.reset();
    Start(kinds);
    commands->btnConnectClick();
    for (std::size_t i = 0; i < kinds.size(); ++i)
      device(i).ClearRecordings();
    port->log.clear();
    port->pauses.clear();
    port->progressMaximumHistory.clear();
  }

  // A CKD file with `keys` keys is loaded and Connect has run.
  void LoadAndConnect(int keys) {
    app->state.loadedFileType = kFileCkd;
    app->state.keyCount = keys;
    app->keyTable = SampleKeyTable();
    commands->btnConnectClick();
    port->log.clear();
    port->pauses.clear();
    port->progressMaximumHistory.clear();
    port->waitCursorShown = 0;
  }

  sim::SimulatedDevice& device(std::size_t index = 0) { return simulation->device(index); }
  sim::ReceivedKeyImage Received(std::size_t index = 0) {
    return device(index).config().keyImage->Snapshot();
  }
  std::string UserSettingsFolder() const { return temp / "home/Documents/Quorvane/KeysmithTDxx"; }
  static bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
  }

  TempFolder temp;
  AppEnvironment environment = TemporaryEnvironment(temp);
  sim::VirtualClock clock;
  std::unique_ptr<sim::Simulation> simulation;
  FakeDriveLocator drive;
  std::unique_ptr<Application> app;
  std::unique_ptr<FakeMainWindowPort> port;
  std::unique_ptr<MainWindowCommands> commands;
};

}  // namespace tdxx::test
