// Detection while another program talks to the device.
#include <gtest/gtest.h>

#include "ProtocolRig.h"
#include "protocol/Detection.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

TEST(DetectionInUse, NamesTheDeviceButLeavesAnOpenStreamAlone) {
  ProtocolRig rig({"tds-bootloader"});
  // Another instance in the middle of a firmware upgrade.
  HidTransport upgrade(rig.simulation->binder(), rig.clock);
  ASSERT_EQ(upgrade.FindKeypad(false), 7);
  ASSERT_FALSE(upgrade.OpenStream(ReportMode::U));
  const auto reportsBefore = rig.device().outputReports().size();
  const int readsBefore = rig.device().featureReadCount();

  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.deviceKind, 7);
  EXPECT_EQ(rig.port.keypadText,
            "BOOTLOADER found: Quorvane Tasterdeck TDSxx" + InUseLine("/sim/hidraw0.0"));
  // No identity read, no version query reached the device.
  EXPECT_EQ(rig.device().featureReadCount(), readsBefore);
  EXPECT_EQ(rig.device().outputReports().size(), reportsBefore);

  // A flow that needs the device logs why it found none.
  DetectKeypad(ctx, true);
  EXPECT_EQ(rig.deviceKind, 0);
  EXPECT_NE(rig.port.log.find(InUseLine("/sim/hidraw0.0")), std::string::npos);
  rig.transport->CloseKeypad();
  upgrade.CloseStream();
}

}  // namespace
}  // namespace tdxx::test
