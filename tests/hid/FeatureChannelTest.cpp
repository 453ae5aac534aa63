#include <gtest/gtest.h>

#include "SimFixture.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

TEST(FeatureChannel, SendsExactlySixBytesAndWaits10Ms) {
  SimRig rig({"td-a"});
  ASSERT_EQ(rig.transport->FindKeypad(true), 5);
  rig.clock.Advance(1000ms);
  EXPECT_FALSE(rig.transport->SendFeatureByte(0xE4));
  EXPECT_FALSE(rig.transport->SendFeatureByte(0x00));
  const auto reports = rig.device().featureReports();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].bytes, Bytes({0x00, 0x01, 0xE4, 0x00, 0x00, 0x00}));
  EXPECT_EQ(reports[1].bytes, Bytes({0x00, 0x01, 0x00, 0x00, 0x00, 0x00}));
  // The first report takes the device its 1 ms, then the channel pauses 10 ms.
  EXPECT_EQ(reports[0].time, 1000ms);
  EXPECT_EQ(reports[1].time, 1011ms);
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms, 10ms}));
  rig.transport->CloseKeypad();
}

// The 10 ms count from the return of the call before, at full resolution.
TEST(FeatureChannel, NextReportStartsTenMillisecondsAfterAFractionalCallReturned) {
  SimRig rig({"td-a"});
  rig.device().SetCallTimes(1ms, 700us);
  ASSERT_EQ(rig.transport->FindKeypad(true), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_FALSE(rig.transport->SendFeatureByte(static_cast<std::uint8_t>(i)));
  const auto reports = rig.device().featureReports();
  ASSERT_EQ(reports.size(), 5u);
  for (std::size_t i = 1; i < reports.size(); ++i) {
    EXPECT_EQ(reports[i - 1].ended - reports[i - 1].time, 700us);
    EXPECT_EQ(reports[i].time - reports[i - 1].ended, 10ms) << "report " << i;
  }
  rig.transport->CloseKeypad();
}

TEST(FeatureChannel, FailuresWaitToo) {
  SimRig rig({"td-a"});
  EXPECT_TRUE(rig.transport->SendFeatureByte(0xE4));  // no handle held
  ASSERT_EQ(rig.transport->FindKeypad(true), 5);
  rig.device().FailFeatureSend();
  EXPECT_TRUE(rig.transport->SendFeatureByte(0xE4));  // device refuses
  rig.device().FailFeatureSend(false);
  rig.device().Unplug();
  EXPECT_TRUE(rig.transport->SendFeatureByte(0xE4));  // device gone
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms, 10ms, 10ms}));
  rig.transport->CloseKeypad();
}

TEST(FeatureChannel, ReadsIdentityReports) {
  SimRig rig({"tds-bootloader", "prg-tmode"});
  ASSERT_EQ(rig.transport->FindKeypad(true), 7);
  std::array<std::uint8_t, 9> nine{};
  EXPECT_FALSE(rig.transport->ReadFeature9(nine));
  EXPECT_EQ(std::vector<std::uint8_t>(nine.begin(), nine.end()),
            Bytes({0x00, 0x12, 'T', 'D', '-', 'A', 's', '0', '1'}));
  rig.transport->CloseKeypad();

  rig.device(0).Unplug();
  ASSERT_EQ(rig.transport->FindKeypad(true), 9);
  std::array<std::uint8_t, 6> six{};
  EXPECT_FALSE(rig.transport->ReadFeature6(six));
  EXPECT_EQ(std::vector<std::uint8_t>(six.begin(), six.end()),
            Bytes({0x00, 0x12, 'T', 'D', '-', 'A'}));
  rig.transport->CloseKeypad();
  // Reads do not wait; CloseKeypad waits twice.
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms, 10ms, 10ms, 10ms}));
}

TEST(FeatureChannel, FailedReadLeavesTheDestinationUnchanged) {
  SimRig rig({"tds-bootloader"});
  std::array<std::uint8_t, 9> nine;
  nine.fill(0xAA);
  EXPECT_TRUE(rig.transport->ReadFeature9(nine));  // no handle
  ASSERT_EQ(rig.transport->FindKeypad(true), 7);
  rig.device().FailIdentityRead();
  EXPECT_TRUE(rig.transport->ReadFeature9(nine));
  std::array<std::uint8_t, 6> six;
  six.fill(0x55);
  EXPECT_TRUE(rig.transport->ReadFeature6(six));
  for (std::uint8_t byte : nine)
    EXPECT_EQ(byte, 0xAA);
  for (std::uint8_t byte : six)
    EXPECT_EQ(byte, 0x55);
  rig.transport->CloseKeypad();
}

TEST(FeatureChannel, CloseKeypadClosesWaitsAndUnbinds) {
  SimRig rig({"td-a"});
  ASSERT_EQ(rig.transport->FindKeypad(true), 5);
  rig.transport->CloseKeypad();
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms, 10ms}));
  EXPECT_TRUE(rig.transport->SendFeatureByte(1));
}

}  // namespace
}  // namespace tdxx::test
