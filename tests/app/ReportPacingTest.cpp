// The pacing of every download and firmware upgrade as the simulated devices timed it, with
// device calls that take fractions of a millisecond: no output report starts less than 10.0 ms
// after the one before started, no feature report less than 10.0 ms after the call before
// returned.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DownloadFixture.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

class ReportPacing : public DownloadFixture {
 protected:
  void ExpectPaced() {
    const auto output = device().outputReports();
    for (std::size_t i = 1; i < output.size(); ++i)
      EXPECT_GE(output[i].time - output[i - 1].time, 10ms)
          << "output report " << i << " of " << output.size() << " at "
          << std::chrono::duration<double, std::milli>(output[i].time).count() << " ms";
    const auto feature = device().featureReports();
    for (std::size_t i = 1; i < feature.size(); ++i)
      EXPECT_GE(feature[i].time - feature[i - 1].ended, 10ms)
          << "feature report " << i << " of " << feature.size() << " at "
          << std::chrono::duration<double, std::milli>(feature[i].time).count() << " ms";
  }
  void LoadFirmware() {
    app->firmware.image.fill(0xFF);
    app->firmware.imageLength = 64000;
    for (std::uint32_t address = 8192; address < 8192 + 6 * 512; ++address)
      app->firmware.image[address] = static_cast<std::uint8_t>(address * 7);
    app->state.loadedFileType = kFileUpg;
  }
};

TEST_F(ReportPacing, StandardDownloadWithFractionalCalls) {
  for (const ClockDuration call : {ClockDuration(300us), ClockDuration(700us)}) {
    Start({"td-a"});
    device().SetCallTimes(call, call);
    LoadAndConnect(24);
    commands->btnDownloadClick();
    ASSERT_TRUE(app->state.taskDone) << port->log;
    ASSERT_GT(device().featureReports().size(), 100u);
    ExpectPaced();
  }
}

TEST_F(ReportPacing, PrgTModeDownloadsWithFractionalCalls) {
  for (const int keys : {6, 24}) {
    for (const ClockDuration call : {ClockDuration(300us), ClockDuration(700us)}) {
      Start({"prg-tmode-td-b"});
      device().SetCallTimes(call, call);
      LoadAndConnect(keys);
      commands->btnDownloadClick();
      ASSERT_TRUE(app->state.taskDone) << port->log;
      ExpectPaced();
    }
  }
}

TEST_F(ReportPacing, FirmwareUpgradeWithFractionalCalls) {
  for (const ClockDuration call : {ClockDuration(300us), ClockDuration(700us)}) {
    Start({"tdxx-bootloader"});
    device().SetCallTimes(call, call);
    commands->btnConnectClick();
    LoadFirmware();
    commands->btnDownloadClick();
    ASSERT_TRUE(app->state.taskDone) << port->log;
    ExpectPaced();
  }
}

}  // namespace
}  // namespace tdxx::test
