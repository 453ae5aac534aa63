#include "AppFixture.h"
#include "files/PrivateProfile.h"

namespace tdxx::test {
namespace {

using SetDownloadMode = AppFixture;

TEST_F(SetDownloadMode, ChosenMethodIsTickedStoredAndReadBackAtTheNextStart) {
  Start();
  EXPECT_TRUE(commands->SetDownloadMode(2));
  EXPECT_EQ(app->state.downloadMode, 2);
  EXPECT_FALSE(port->tickStandard || port->tickTMode);
  EXPECT_TRUE(port->tickFlashDrive);
  const std::string ini = UserSettingsFolder() + "/TDxxLoad.ini";
  EXPECT_EQ(ReadProfileInt(ini, "CONFIGURATION", "DownloadMode", -5), 2);

  Start();
  EXPECT_EQ(app->state.downloadMode, 2);
  EXPECT_TRUE(port->tickFlashDrive);

  commands->mnuDownloadViaTModeClick();
  EXPECT_EQ(ReadProfileInt(ini, "CONFIGURATION", "DownloadMode", -5), 1);
  EXPECT_TRUE(port->tickTMode);
  EXPECT_FALSE(port->tickStandard || port->tickFlashDrive);
}

TEST_F(SetDownloadMode, ChoosingTheSameMethodAgainRewritesTheSameValue) {
  Start();
  const std::string ini = UserSettingsFolder() + "/TDxxLoad.ini";
  commands->mnuDownloadNormalClick();
  ASSERT_EQ(ReadProfileInt(ini, "CONFIGURATION", "DownloadMode", -5), 0);
  std::filesystem::remove(ini);
  commands->mnuDownloadNormalClick();
  EXPECT_EQ(ReadProfileInt(ini, "CONFIGURATION", "DownloadMode", -5), 0);
  EXPECT_TRUE(port->tickStandard);
  EXPECT_FALSE(port->tickTMode || port->tickFlashDrive);
}

TEST_F(SetDownloadMode, KeepsTheOtherLinesOfTheSettingsFile) {
  const std::string ini = temp.Write("home/Documents/Quorvane/KeysmithTDxx/TDxxLoad.ini",
                                     "; my notes\r\n[CONFIGURATION]\r\nDownloadMode=1\r\n"
                                     "Other=keep\r\n");
  Start();
  commands->mnuDownloadNormalClick();
  EXPECT_EQ(ReadWholeFile(ini),
            "; my notes\r\n[CONFIGURATION]\r\nDownloadMode=0\r\nOther=keep\r\n");
}

TEST_F(SetDownloadMode, UnwritableSettingsFileIsReportedAndTheChoiceHoldsForThisRun) {
  // A file where the settings folder must go: not even root can write below it.
  temp.Write("home/Documents/Quorvane/KeysmithTDxx", "a file where the folder must go");
  Start();
  EXPECT_FALSE(commands->SetDownloadMode(1));
  ASSERT_EQ(port->errors.size(), 1u);
  EXPECT_EQ(port->errors[0], "Unable to write to " + UserSettingsFolder() + "/TDxxLoad.ini");
  EXPECT_EQ(app->state.downloadMode, 1);
  EXPECT_TRUE(port->tickTMode);
  // The next start reads the old value (there is none).
  Start();
  EXPECT_EQ(app->state.downloadMode, 0);
}

TEST_F(SetDownloadMode, CommandsAreDisabledWhileItRunsAndEnabledAfter) {
  Start();
  commands->mnuDownloadViaTModeClick();
  EXPECT_EQ(port->commandsEnabledHistory, (std::vector<bool>{false, true}));
  EXPECT_TRUE(port->commandsEnabled);
}

}  // namespace
}  // namespace tdxx::test
