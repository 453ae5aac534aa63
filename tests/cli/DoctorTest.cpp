#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "FakeDriveLocator.h"
#include "NoHidBinder.h"
#include "TempFolder.h"
#include "cli/DoctorCommand.h"
#include "hid/HidLibraryVersion.h"
#include "sim/SimulatedBus.h"
#include "sim/Simulation.h"
#include "sim/VirtualClock.h"

namespace tdxx::test {
namespace {

// Doctor over simulated devices, rule folders and a documents folder in a temporary folder.
class Doctor : public ::testing::Test {
 protected:
  Doctor() {
    std::filesystem::create_directories(temp / "program");
    std::filesystem::create_directories(temp / "etc-rules");
    std::filesystem::create_directories(temp / "lib-rules");
  }

  void Plug(const std::vector<std::string>& kinds) {
    std::string error;
    simulation = sim::Simulation::Create(kinds, clock, error);
    ASSERT_NE(simulation, nullptr) << error;
  }

  void InstallRule() { temp.Write("lib-rules/70-tdxxload.rules", "# rule\n"); }

  nlohmann::json Run(HidLibraryBinder& binder) {
    cli::DoctorSetup setup(binder, clock, drive);
    setup.environment.programFolder = temp / "program/";
    setup.environment.systemConfigFolder.clear();
    setup.environment.userDocumentsFolder = temp / "home/Documents";
    setup.ruleFolders = {temp / "etc-rules", temp / "lib-rules"};
    std::ostringstream out;
    exitCode = cli::RunDoctor(setup, true, out);
    const nlohmann::json report = nlohmann::json::parse(out.str());
    EXPECT_EQ(report["exitCode"], exitCode);
    return report;
  }

  static nlohmann::json Check(const nlohmann::json& report, const std::string& name) {
    for (const nlohmann::json& check : report["checks"]) {
      if (check["name"] == name)
        return check;
    }
    ADD_FAILURE() << "no check " << name << " in " << report.dump();
    return {};
  }

  TempFolder temp;
  sim::VirtualClock clock;
  std::unique_ptr<sim::Simulation> simulation;
  FakeDriveLocator drive;
  int exitCode = -1;
};

TEST_F(Doctor, AllInPlaceWithoutAKeypadDriveExitsZero) {
  Plug({"td-a"});
  InstallRule();
  const nlohmann::json report = Run(simulation->binder());
  EXPECT_EQ(exitCode, 0) << report.dump();
  // The simulated library says it is hidapi 0.13.1, whose open can crash on an unplug: a note,
  // not a failure.
  const nlohmann::json library = Check(report, "hid-library");
  EXPECT_EQ(library["ok"], true);
  EXPECT_NE(library["found"].get<std::string>().find("(version 0.13.1)"), std::string::npos);
  EXPECT_NE(library["mend"].get<std::string>().find("unplugged"), std::string::npos);
  EXPECT_NE(library["mend"].get<std::string>().find("0.14 mends it"), std::string::npos);
  EXPECT_EQ(HidLibraryVersionWarning("0.14.0"), "");
  EXPECT_EQ(Check(report, "udev-rule")["found"],
            "The udev rule is installed: " + (temp / "lib-rules/70-tdxxload.rules") + ".");
  const nlohmann::json device = Check(report, "device " + sim::SimulatedBus::InterfacePath(0, 0));
  EXPECT_EQ(device["ok"], true);
  EXPECT_EQ(Check(report, "documents-folder")["ok"], true);
  const nlohmann::json drive = Check(report, "keypad-drive");
  EXPECT_EQ(drive["ok"], true);
  EXPECT_NE(drive["found"].get<std::string>().find("No TASTERDECK drive"), std::string::npos);
  // The write test leaves nothing behind.
  EXPECT_EQ(temp.Entries().size(), 4u);
  EXPECT_TRUE(std::filesystem::is_empty(temp / "home/Documents/Quorvane/KeysmithTDxx/Macro_Files"));
}

TEST_F(Doctor, MissingLibraryNamesThePackageAndSkipsTheDevices) {
  InstallRule();
  NoHidBinder binder;
  const nlohmann::json report = Run(binder);
  EXPECT_EQ(exitCode, 1);
  const nlohmann::json library = Check(report, "hid-library");
  EXPECT_EQ(library["ok"], false);
  EXPECT_NE(library["found"].get<std::string>().find("cannot open shared object file"),
            std::string::npos);
  EXPECT_NE(library["mend"].get<std::string>().find("libhidapi-hidraw0"), std::string::npos);
  for (const nlohmann::json& check : report["checks"])
    EXPECT_FALSE(check["name"].get<std::string>().starts_with("device")) << check.dump();
}

TEST_F(Doctor, MissingRuleAndAnInterfaceWithoutPermissionFailWithTheirMends) {
  Plug({"td-a", "wk-c:no-permission"});
  const nlohmann::json report = Run(simulation->binder());
  EXPECT_EQ(exitCode, 1);
  const nlohmann::json rule = Check(report, "udev-rule");
  EXPECT_EQ(rule["ok"], false);
  EXPECT_EQ(rule["found"], "70-tdxxload.rules is in none of " + (temp / "etc-rules") + ", " +
                               (temp / "lib-rules") + ".");
  EXPECT_EQ(Check(report, "device " + sim::SimulatedBus::InterfacePath(0, 0))["ok"], true);
  const nlohmann::json denied = Check(report, "device " + sim::SimulatedBus::InterfacePath(1, 0));
  EXPECT_EQ(denied["ok"], false);
  const std::string found = denied["found"];
  EXPECT_NE(found.find("WK-C keyboard at /sim/hidraw1.0 cannot be opened by "), std::string::npos);
  EXPECT_NE(found.find("no permission"), std::string::npos);
  const std::string mend = denied["mend"];
  EXPECT_NE(mend.find("tdxxload group"), std::string::npos);
  EXPECT_NE(mend.find("re-plug"), std::string::npos);
}

// Tests run as root, who may write anywhere: a file where a folder must be makes both checks
// fail all the same.
TEST_F(Doctor, AnUnwritableDocumentsFolderOrKeypadDriveFails) {
  Plug({});
  InstallRule();
  temp.Write("home/Documents/Quorvane", "a file where the folder must be");
  temp.Write("drive", "a file where the drive's root must be");
  drive.mountPoint = temp / "drive/";
  const nlohmann::json report = Run(simulation->binder());
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(Check(report, "documents-folder")["ok"], false);
  EXPECT_EQ(Check(report, "keypad-drive")["ok"], false);
}

TEST_F(Doctor, AMountedWritableDriveHolds) {
  Plug({});
  InstallRule();
  std::filesystem::create_directories(temp / "drive");
  drive.mountPoint = temp / "drive/";
  const nlohmann::json report = Run(simulation->binder());
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(Check(report, "keypad-drive")["found"],
            "The TASTERDECK drive is mounted at " + (temp / "drive/") + " and writable.");
  EXPECT_EQ(Check(report, "devices")["found"], "No keypad or bootloader is attached.");
}

}  // namespace
}  // namespace tdxx::test
