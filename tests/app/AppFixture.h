#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "FakeDriveLocator.h"
#include "FakeMainWindowPort.h"
#include "NoHidBinder.h"
#include "StepClock.h"
#include "TempFolder.h"
#include "TemporaryEnvironment.h"
#include "app/Application.h"
#include "app/MainWindowCommands.h"

namespace tdxx::test {

// A main window over temporary folders: the program folder, the user's documents folder and the
// shared documents folder all live in one temporary folder; no HID library is present.
class AppFixture : public ::testing::Test {
 protected:
  // Makes the application and the commands and runs the start-up sequence, as a program start.
  void Start() {
    commands.reset();
    app = std::make_unique<Application>(environment, binder, clock, drive);
    port = std::make_unique<FakeMainWindowPort>(clock);
    commands = std::make_unique<MainWindowCommands>(*app, *port);
    commands->FormCreate();
  }

  std::string UserSettingsFolder() const { return temp / "home/Documents/Quorvane/KeysmithTDxx"; }

  TempFolder temp;
  AppEnvironment environment = TemporaryEnvironment(temp);
  StepClock clock;
  NoHidBinder binder;
  FakeDriveLocator drive;
  std::unique_ptr<Application> app;
  std::unique_ptr<FakeMainWindowPort> port;
  std::unique_ptr<MainWindowCommands> commands;
};

}  // namespace tdxx::test
