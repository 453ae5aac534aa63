#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <string>

#include "ChildProcess.h"

namespace {

// The command-line front end, bound to the stand-in library like to the system's hidapi.
TEST(CliDetectIntegration, NamesTheBootloaderWithModelAndVersions) {
  const std::string output =
      tdxx::test::RunWithStandIn(TDXX_CLI, {"detect"}, TDXX_STANDIN_DIR, "tds-bootloader");
  EXPECT_NE(output.find("BOOTLOADER found: Quorvane Tasterdeck TDSxx (Model TDS-A)."),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("Bootloader Version  : TDS Boot v2.10"), std::string::npos) << output;
}

TEST(CliDetectIntegration, NamesADeviceItMayNotOpen) {
  const std::string output =
      tdxx::test::RunWithStandIn(TDXX_CLI, {"detect"}, TDXX_STANDIN_DIR, "td-a:no-permission");
  EXPECT_NE(output.find("KEYPAD found: Quorvane Tasterdeck TD-A."), std::string::npos) << output;
  EXPECT_NE(output.find("No permission to open /sim/hidraw0.0."), std::string::npos) << output;
}

}  // namespace

namespace {

// A whole download through the real binding: the example 24-key file onto a TD-A.
TEST(CliDownloadIntegration, SendsTheExampleFileAndEndsWithTheSuccessLine) {
  // The settings folder is made under the documents folder: keep it out of the real home.
  char home[] = "/tmp/tdxx-cli-home-XXXXXX";
  ASSERT_NE(mkdtemp(home), nullptr);
  setenv("HOME", home, 1);
  unsetenv("XDG_CONFIG_HOME");
  const std::string output = tdxx::test::RunWithStandIn(
      TDXX_CLI, {"download", "--json", TDXX_EXAMPLES "/td-a-function-keys.ckd"}, TDXX_STANDIN_DIR,
      "td-a");
  EXPECT_EQ(output.find("exit="), std::string::npos) << output;
  EXPECT_NE(output.find("\"exitCode\":0"), std::string::npos) << output;
  EXPECT_NE(output.find("SUCCESS! Download Complete.\\r\\n\",\"messages\""), std::string::npos)
      << output;
}

// A firmware file for a keypad in normal operation: the first pass switches it to its
// bootloader (answered --yes), the second, as the user's second click, writes the image.
TEST(CliDownloadIntegration, FirmwareFileSwitchesToTheBootloaderAndWritesTheImage) {
  char home[] = "/tmp/tdxx-cli-home-XXXXXX";
  ASSERT_NE(mkdtemp(home), nullptr);
  setenv("HOME", home, 1);
  unsetenv("XDG_CONFIG_HOME");
  const std::string output = tdxx::test::RunWithStandIn(
      TDXX_CLI, {"download", "--json", "--yes", TDXX_EXAMPLES "/td-a-demo.upg"}, TDXX_STANDIN_DIR,
      "td-a");
  EXPECT_EQ(output.find("exit="), std::string::npos) << output;
  EXPECT_NE(output.find("\"exitCode\":0"), std::string::npos) << output;
  EXPECT_NE(output.find("Bootloader: Activated."), std::string::npos) << output;
  EXPECT_NE(output.find("SUCCESS! Download Complete.\\r\\n\",\"messages\""), std::string::npos)
      << output;
  std::filesystem::remove_all(home);
}

}  // namespace
