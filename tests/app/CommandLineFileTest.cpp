#include <gtest/gtest.h>

#include <string>

#include "AppFixture.h"
#include "DownloadFixture.h"
#include "app/CommandLineFile.h"

namespace tdxx::test {
namespace {

constexpr const char* kTwentyFourKeys =
    "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\nKey_Roll_Over=5\r\n[KEY1]\r\nL1_MacroMode=0\r\n"
    "Level_1_Codes=12f012\r\nKeyType=2\r\n";

using CommandLineFile = AppFixture;

TEST_F(CommandLineFile, OneKeyDefinitionFileIsLoadedWithItsOwnLogTexts) {
  const std::string path = temp.Write("KEYS.CKD", kTwentyFourKeys);
  environment.arguments = {path};
  Start();
  EXPECT_EQ(app->state.loadedFileType, kFileCkd);
  EXPECT_EQ(app->state.keyCount, 24);
  EXPECT_EQ(app->state.dataFileName, path);
  EXPECT_EQ(port->fileNameText, path);
  EXPECT_EQ(port->fileTypeText, "Tasterdeck Key Definitions (.CKD)");
  EXPECT_EQ(port->log.rfind("Open data file (from command line):", 0), 0u) << port->log;
  EXPECT_TRUE(port->log.ends_with("\r\nFile read successfully.\r\n")) << port->log;
  EXPECT_TRUE(StartupDownloadWanted(app->state));
}

TEST_F(CommandLineFile, ProblemsAreWarnedOfAfterTheFilesOwnLines) {
  environment.arguments = {temp.Write("keys.ckd", std::string(kTwentyFourKeys) +
                                                      "[KEY2]\r\nLevel_1_Codes=00\r\n[KEY30]\r\n"
                                                      "Level_2_Codes=1c\r\n")};
  Start();
  EXPECT_EQ(app->state.keyCount, 24);
  EXPECT_TRUE(port->log.ends_with(
      "\r\nFile read successfully.\r\n\r\nWarning: 2 keys will not be programmed as written "
      "(see Key Map).\r\n"))
      << port->log;
}

TEST_F(CommandLineFile, TwoArgumentsLoadNothingAndLogNothing) {
  environment.arguments = {temp.Write("a.ckd", kTwentyFourKeys), "b.ckd"};
  Start();
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(port->log, "");
  EXPECT_EQ(port->fileNameText, "");
}

TEST_F(CommandLineFile, FailedReadsLeaveTheTypeEachRowNames) {
  struct Case {
    std::string argument;
    std::int32_t type;
    const char* typeText;
    const char* logEnd;
    bool wanted;
  };
  const Case cases[] = {
      // A CKD file that cannot be read stays CKD with no keys: nothing to download.
      {temp / "missing.ckd", kFileCkd, "Tasterdeck Key Definitions (.CKD)",
       "\r\nFile read failed.\r\n", false},
      // A firmware file that fails goes back to no file.
      {temp / "missing.UPG", kFileNone, "Device Firmware Upgrade(.UPG)",
       "\r\nFile read failed.\r\n", false},
      // A missing BIN file stays BIN, and the automation still runs Download for it.
      {temp / "missing.bin", kFileBin, "Key Definitions for flash drive copy (.BIN)",
       "\r\nFile read failed.\r\n", true},
      {"notes.txt", kFileNone, "",
       "Open data file (from command line):\r\nERROR: INVALID FILE TYPE!\r\n", false},
  };
  for (const Case& c : cases) {
    environment.arguments = {c.argument};
    Start();
    EXPECT_EQ(app->state.loadedFileType, c.type) << c.argument;
    EXPECT_EQ(port->fileTypeText, c.typeText) << c.argument;
    EXPECT_EQ(port->fileNameText, c.argument);
    EXPECT_TRUE(port->log.ends_with(c.logEnd)) << port->log;
    EXPECT_EQ(StartupDownloadWanted(app->state), c.wanted) << c.argument;
  }
}

TEST_F(CommandLineFile, AnExistingBinFileIsOnlyCheckedForExistence) {
  environment.arguments = {temp.Write("copy.BIN", "anything")};
  Start();
  EXPECT_EQ(app->state.loadedFileType, kFileBin);
  EXPECT_EQ(port->log, "Open data file (from command line):\r\nFile read successfully.\r\n");
}

TEST_F(CommandLineFile, APathTooLongForTheReadersCountsAsAFailedRead) {
  environment.arguments = {"/" + std::string(520, 'k') + ".ckd"};
  Start();
  EXPECT_EQ(app->state.keyCount, 0);
  EXPECT_EQ(port->log,
            "Open data file (from command line):\r\nFile path too long.\r\n\r\nFile read "
            "failed.\r\n");
}

// The whole road: the file named on the command line is read by the start-up sequence and
// downloaded by the start-up automation. (The automation's other rows are in
// StartupAutomationTest.)
using CommandLineStartup = DownloadFixture;

TEST_F(CommandLineStartup, DownloadsTheCommandLineFileAndClosesASecondAfterSuccess) {
  environment.arguments = {temp.Write("keys.ckd", kTwentyFourKeys)};
  Start({"td-b"});
  app->state.taskDone = true;
  commands->tmrStartupTimer();
  EXPECT_EQ(Received().CompleteKeyCount(), 24);
  EXPECT_TRUE(app->state.taskDone);
  EXPECT_EQ(port->closeRequests, 1);
  ASSERT_FALSE(port->pauses.empty());
  EXPECT_EQ(port->pauses.back(), Milliseconds(1000));
}

}  // namespace
}  // namespace tdxx::test
