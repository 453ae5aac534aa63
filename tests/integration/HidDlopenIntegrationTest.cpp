#include <gtest/gtest.h>

#include <string>

#include "ChildProcess.h"

namespace {

std::string RunProbe(const std::string& libraryDir, const std::string& devices,
                     const std::string& command = "detect") {
  return tdxx::test::RunWithStandIn(TDXX_PROBE, {command}, libraryDir, devices);
}

TEST(HidDlopenIntegration, FindsTheStandInsDevices) {
  const std::string output = RunProbe(TDXX_STANDIN_DIR, "tds-bootloader");
  EXPECT_NE(output.find("kind=7\n"), std::string::npos) << output;
  EXPECT_NE(output.find("path=/sim/hidraw0.0\n"), std::string::npos) << output;
  EXPECT_NE(output.find("bound=0\n"), std::string::npos) << output;
}

TEST(HidDlopenIntegration, CountsKindsAndPermissions) {
  EXPECT_NE(RunProbe(TDXX_STANDIN_DIR, "td-a,wk-c").find("kind=-1\n"), std::string::npos);
  EXPECT_NE(RunProbe(TDXX_STANDIN_DIR, "mouse").find("kind=0\npath=\n"), std::string::npos);
  const std::string denied = RunProbe(TDXX_STANDIN_DIR, "td-b:no-permission");
  EXPECT_NE(denied.find("kind=6\n"), std::string::npos) << denied;
  EXPECT_NE(denied.find("denied=1\n"), std::string::npos) << denied;
}

TEST(HidDlopenIntegration, StreamRunsOverTheBoundLibrary) {
  const std::string output = RunProbe(TDXX_STANDIN_DIR, "tds-bootloader", "version");
  EXPECT_NE(output.find("version=TDS Boot v2.10  \n"), std::string::npos) << output;
}

TEST(HidDlopenIntegration, MissingEntryPointFailsTheBinding) {
  const std::string output = RunProbe(TDXX_BROKEN_STANDIN_DIR, "tds-bootloader");
  EXPECT_NE(output.find("kind=-1\n"), std::string::npos) << output;
  EXPECT_NE(output.find("bindError=libhidapi-hidraw.so.0: missing entry point hid_read_timeout\n"),
            std::string::npos)
      << output;
}

}  // namespace
