#include <gtest/gtest.h>

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
