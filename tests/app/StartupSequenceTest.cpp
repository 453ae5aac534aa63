#include <filesystem>

#include "AppFixture.h"
#include "app/MainWindowCommands.h"

namespace tdxx::test {
namespace {

using StartupSequence = AppFixture;

TEST_F(StartupSequence, WithoutLocationIniUsesTheUsersDocumentsAndCreatesTheChain) {
  Start();
  EXPECT_EQ(port->caption, "TDxxLoad - Quorvane TDxx Keypad File Loader  -  v1.70");
  EXPECT_EQ(app->state.locationIniPath, temp / "etc/Location.ini");
  EXPECT_TRUE(app->state.useMyDocuments);
  EXPECT_EQ(app->state.settingsFolder, UserSettingsFolder());
  EXPECT_EQ(app->state.macroFilesFolder, UserSettingsFolder() + "/Macro_Files");
  EXPECT_TRUE(std::filesystem::is_directory(app->state.macroFilesFolder));
  EXPECT_EQ(app->state.downloadMode, 0);
  EXPECT_EQ(app->state.loadedFileType, 0);
  EXPECT_EQ(app->state.deviceKind, 0);
  EXPECT_TRUE(port->tickStandard);
  EXPECT_FALSE(port->tickTMode || port->tickFlashDrive);
  // Start-up writes no settings and logs nothing.
  EXPECT_FALSE(std::filesystem::exists(UserSettingsFolder() + "/TDxxLoad.ini"));
  EXPECT_EQ(port->log, "");
}

TEST_F(StartupSequence, MyDocumentsZeroMovesTheChainToTheSharedFolder) {
  temp.Write("program/Location.ini", "[Configuration]\r\nmy_documents = 0\r\n");
  Start();
  EXPECT_FALSE(app->state.useMyDocuments);
  EXPECT_EQ(app->state.settingsFolder, temp / "shared/Quorvane/KeysmithTDxx");
  EXPECT_TRUE(std::filesystem::is_directory(temp / "shared/Quorvane/KeysmithTDxx/Macro_Files"));
  EXPECT_FALSE(std::filesystem::exists(temp / "home/Documents/Quorvane"));
}

// An installed program reads the system's Location.ini; one beside the program wins.
TEST_F(StartupSequence, LocationIniBesideTheProgramWinsOverTheSystemOne) {
  temp.Write("etc/Location.ini", "[CONFIGURATION]\nMy_Documents=0\n");
  Start();
  EXPECT_EQ(app->state.locationIniPath, temp / "etc/Location.ini");
  EXPECT_FALSE(app->state.useMyDocuments);
  temp.Write("program/Location.ini", "[CONFIGURATION]\nMy_Documents=1\n");
  Start();
  EXPECT_EQ(app->state.locationIniPath, temp / "program/Location.ini");
  EXPECT_TRUE(app->state.useMyDocuments);
}

// The installed Location.ini is the one `cmake --install` puts under the configured prefix:
// the build's prefix reaches the program (here the test build's own prefix).
TEST(InstalledLocationIni, LiesInTheInstallPrefixsConfigurationFolder) {
  EXPECT_EQ(AppEnvironment{}.systemConfigFolder, TDXX_INSTALLED_CONFIG_FOLDER);
}

// Every member of the group writes the shared settings: the chain is group-writable and keeps
// the set-group-ID bit, and so is what a second user's start-up finds already there.
TEST_F(StartupSequence, SharedFolderChainIsGroupWritable) {
  namespace fs = std::filesystem;
  temp.Write("program/Location.ini", "[CONFIGURATION]\nMy_Documents=0\n");
  fs::create_directories(temp / "shared/Quorvane");
  fs::permissions(temp / "shared/Quorvane", fs::perms(0755));
  Start();
  for (const char* folder : {"shared/Quorvane", "shared/Quorvane/KeysmithTDxx",
                             "shared/Quorvane/KeysmithTDxx/Macro_Files"}) {
    const fs::perms perms = fs::status(temp / folder).permissions();
    EXPECT_NE(perms & fs::perms::group_write, fs::perms::none) << folder;
    EXPECT_NE(perms & fs::perms::set_gid, fs::perms::none) << folder;
  }
  ASSERT_TRUE(commands->SetDownloadMode(2));
  const fs::perms ini =
      fs::status(temp / "shared/Quorvane/KeysmithTDxx/TDxxLoad.ini").permissions();
  EXPECT_NE(ini & fs::perms::group_write, fs::perms::none);
}

TEST_F(StartupSequence, TrailingSlashesOfTheDocumentsFolderAreNotDoubled) {
  environment.userDocumentsFolder = temp / "home/Documents//";
  Start();
  EXPECT_EQ(app->state.settingsFolder, UserSettingsFolder());
  EXPECT_EQ(app->state.macroFilesFolder, UserSettingsFolder() + "/Macro_Files");
  EXPECT_TRUE(std::filesystem::is_directory(app->state.macroFilesFolder));
}

TEST_F(StartupSequence, AnyNonZeroOrUnreadableMyDocumentsKeepsTheUsersFolder) {
  for (const char* value : {"5", "-1", "0x10", "zero", ""}) {
    temp.Write("program/Location.ini", std::string("[CONFIGURATION]\nMy_Documents=") + value);
    Start();
    EXPECT_TRUE(app->state.useMyDocuments) << value;
    EXPECT_EQ(app->state.settingsFolder, UserSettingsFolder()) << value;
  }
}

TEST_F(StartupSequence, StoredDownloadModeSetsTheMethodAndItsTick) {
  struct Case {
    const char* stored;
    int mode;
    bool standard, tmode, flash;
  };
  const Case cases[] = {{"0", 0, true, false, false},  {"1", 1, false, true, false},
                        {"2", 2, false, false, true},  {"7", 0, true, false, false},
                        {"2x", 0, true, false, false}, {"-1", 0, true, false, false}};
  for (const Case& c : cases) {
    temp.Write("home/Documents/Quorvane/KeysmithTDxx/TDxxLoad.ini",
               std::string("[CONFIGURATION]\r\nDownloadMode=") + c.stored + "\r\n");
    Start();
    EXPECT_EQ(app->state.downloadMode, c.mode) << c.stored;
    EXPECT_EQ(port->tickStandard, c.standard) << c.stored;
    EXPECT_EQ(port->tickTMode, c.tmode) << c.stored;
    EXPECT_EQ(port->tickFlashDrive, c.flash) << c.stored;
  }
}

TEST_F(StartupSequence, SimulatedDevicesAreNamedInTheFirstLogLine) {
  environment.simulatedDevices = {"td-a", "wk-c"};
  Start();
  EXPECT_EQ(port->log, "Simulated devices: td-a, wk-c\r\n");
}

TEST_F(StartupSequence, FolderThatCannotBeMadeIsNotReportedAndStartGoesOn) {
  // A file where the settings folder must go.
  temp.Write("home/Documents/Quorvane/KeysmithTDxx", "not a folder");
  Start();
  EXPECT_EQ(app->state.settingsFolder, UserSettingsFolder());
  EXPECT_TRUE(port->errors.empty());
  EXPECT_EQ(app->state.downloadMode, 0);
}

}  // namespace
}  // namespace tdxx::test
