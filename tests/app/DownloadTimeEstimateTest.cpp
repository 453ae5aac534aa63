#include <gtest/gtest.h>

#include "DownloadFixture.h"
#include "protocol/DownloadTimeEstimate.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

TEST(DownloadTimeEstimate, StandardStepsFollowTheBytesAndTheAlternatingKeyPauses) {
  const KeyTable empty{};  // both levels empty: 8 bytes a key
  const DownloadTimeEstimate estimate = EstimateKeyDownload(empty, 2, 6, 0);
  ASSERT_EQ(estimate.steps.size(), 3u);
  EXPECT_EQ(estimate.steps[0], 15 * 10ms + 100ms);
  EXPECT_EQ(estimate.steps[1], 8 * 10ms + 100ms);
  EXPECT_EQ(estimate.steps[2], 8 * 10ms + 10ms);
  EXPECT_EQ(estimate.Total(), 250ms + 180ms + 90ms + 1010ms);
  EXPECT_EQ(estimate.Remaining(3), 1010ms);
  EXPECT_FALSE(estimate.overStream);
}

TEST(DownloadTimeEstimate, RoutesAsTheDownloadCommandDoes) {
  const KeyTable table = SampleKeyTable();
  EXPECT_EQ(EstimateKeyDownload(table, 48, 5, 0).steps.size(), 25u) << "TD-A takes 24 keys";
  EXPECT_EQ(EstimateKeyDownload(table, 48, 6, 0).steps.size(), 49u);
  EXPECT_TRUE(EstimateKeyDownload(table, 48, 9, 0).overStream) << "PRG/TMode device";
  EXPECT_TRUE(EstimateKeyDownload(table, 48, 6, 1).overStream) << "PRG/TMode method";
  EXPECT_TRUE(EstimateKeyDownload(table, 48, 6, 2).empty()) << "flash drive";
  EXPECT_TRUE(EstimateKeyDownload(table, 48, 4, 0).empty()) << "bootloader";
  EXPECT_TRUE(EstimateKeyDownload(table, 48, 1, 0).empty()) << "older 917";
  EXPECT_TRUE(EstimateKeyDownload(table, 0, 6, 0).empty());
  EXPECT_EQ(EstimateKeyDownload(table, 0, 6, 0).Total(), 0ms);
}

// The estimate is the least time: the flows on virtual time take it plus the devices' own time.
class EstimateAgainstFlows : public DownloadFixture {
 protected:
  // How long the Download command took on the virtual clock.
  ClockDuration TimeOfDownload() {
    const ClockDuration start = clock.Now();
    commands->btnDownloadClick();
    return clock.Now() - start;
  }
};

TEST_F(EstimateAgainstFlows, IsALowerBoundCloseToTheStandardDownload) {
  Start({"td-b"});
  LoadAndConnect(30);
  const Milliseconds estimate = EstimateKeyDownload(app->keyTable, 30, 6, 0).Total();
  const ClockDuration took = TimeOfDownload();
  ASSERT_TRUE(app->state.taskDone);
  EXPECT_GE(took, estimate);
  EXPECT_LE(took, estimate + estimate / 5);
}

TEST_F(EstimateAgainstFlows, IsALowerBoundCloseToThePrgTModeDownloadOfExactly24Keys) {
  Start({"prg-tmode-td-b"});
  LoadAndConnect(24);
  const Milliseconds estimate = EstimateKeyDownload(app->keyTable, 24, 9, 0).Total();
  const ClockDuration took = TimeOfDownload();
  ASSERT_TRUE(app->state.taskDone);
  EXPECT_GE(took, estimate);
  EXPECT_LE(took, estimate + estimate / 5);
}

}  // namespace
}  // namespace tdxx::test
