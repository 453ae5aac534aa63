#include "protocol/StandardDownload.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProtocolRig.h"
#include "protocol/Detection.h"
#include "support/KeyTableSamples.h"

namespace tdxx {
namespace {

using test::ExpectKeyReceived;
using test::ProtocolRig;
using test::SampleKeyTable;

// A rig with the device detected and its handle kept open, as the download flow leaves it.
struct StandardRig : ProtocolRig {
  explicit StandardRig(const std::string& kind) : ProtocolRig({kind}) {
    ProtocolContext ctx = Context();
    DetectKeypad(ctx, true);
  }
  bool Download(int count) {
    ProtocolContext ctx = Context();
    const bool failed = DownloadKeysStandard(ctx, table, block, deviceKind, count);
    transport->CloseKeypad();
    return failed;
  }
  sim::ReceivedKeyImage Received() { return device().config().keyImage->Snapshot(); }

  KeyTable table = SampleKeyTable();
  GlobalParameterBlock block{};
};

struct BlockCase {
  const char* name;
  const char* kind;
  DeviceKind deviceKind;
  std::uint8_t parameterCount;
  std::size_t blockBytes;
};

class StandardBlockRow : public testing::TestWithParam<BlockCase> {};

TEST_P(StandardBlockRow, DeviceTakesTheBlockItsKindExpectsThenEveryKeyAndTheEndByte) {
  const BlockCase& c = GetParam();
  StandardRig rig(c.kind);
  ASSERT_EQ(rig.deviceKind, c.deviceKind);
  EXPECT_FALSE(rig.Download(4));

  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.globalBlock.size(), c.blockBytes);
  EXPECT_TRUE(image.globalComplete);
  EXPECT_EQ(image.globalBlock[2], c.parameterCount);
  EXPECT_EQ(rig.block.bytes[2], c.parameterCount) << "the written count stays in the block";
  for (std::size_t i = 3; i < c.blockBytes; ++i)
    EXPECT_EQ(image.globalBlock[i], rig.block.bytes[i]) << "block byte " << i;
  ASSERT_EQ(image.keys.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k)
    ExpectKeyReceived(image.keys[k], rig.table[k]);
  EXPECT_TRUE(image.endByte);
  EXPECT_TRUE(image.strayBytes.empty());
  for (const sim::RecordedReport& report : rig.device().featureReports()) {
    ASSERT_EQ(report.bytes.size(), 6u);
    EXPECT_EQ(report.bytes[0], 0x00);
    EXPECT_EQ(report.bytes[1], 0x01);
  }
  EXPECT_EQ(rig.port.progressPosition, 5) << "one step for the block, one per key";
  EXPECT_EQ(rig.port.log,
            "\r\n...Download start\r\n...Downloading globals.\r\n...Downloading keys.");
}

INSTANTIATE_TEST_SUITE_P(Kinds, StandardBlockRow,
                         testing::Values(BlockCase{"Keypad917v4", "917-v4", 1, 10, 13},
                                         BlockCase{"Keypad917v5", "917-v5", 2, 10, 13},
                                         BlockCase{"TdA", "td-a", 5, 12, 15},
                                         BlockCase{"TdB", "td-b", 6, 12, 15},
                                         BlockCase{"WkC", "wk-c", 8, 12, 15},
                                         BlockCase{"TdAKbMouse", "td-a-kbmouse", 10, 12, 15},
                                         BlockCase{"TdBKbMouse", "td-b-kbmouse", 11, 12, 15},
                                         BlockCase{"WkCKbMouse", "wk-c-kbmouse", 12, 12, 15}),
                         [](const testing::TestParamInfo<BlockCase>& info) {
                           return info.param.name;
                         });

TEST(StandardDownload, KindsOutsideTheBlockTableAreRefusedBeforeAnyByte) {
  for (DeviceKind kind : {-1, 0, 3, 4, 7, 9, 13, 14}) {
    StandardRig rig("td-b");
    rig.deviceKind = kind;
    EXPECT_TRUE(rig.Download(4)) << kind;
    EXPECT_TRUE(rig.device().featureReports().empty()) << kind;
    EXPECT_EQ(rig.port.log, "\r\n...Download start") << kind;
    EXPECT_EQ(rig.block.bytes[2], 0x0A) << "block untouched for kind " << kind;
  }
}

TEST(StandardDownload, KeyWithBothLevelsEmptyCostsEightBytes) {
  StandardRig rig("td-a");
  EXPECT_FALSE(rig.Download(1));  // key 0 of the sample has no codes
  const std::vector<sim::RecordedReport> reports = rig.device().featureReports();
  ASSERT_EQ(reports.size(), 15u + 8u + 1u);
  EXPECT_EQ(reports[15 + 6].bytes[2], 0);
  EXPECT_EQ(reports[15 + 7].bytes[2], 0);
  EXPECT_EQ(reports.back().bytes[2], 0xE5);
  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.keys.size(), 1u);
  EXPECT_TRUE(image.keys[0].complete);
  EXPECT_TRUE(image.keys[0].level1.empty() && image.keys[0].level2.empty());
}

TEST(StandardDownload, BytesAreTenMillisecondsApartAndKeysAlternateLongAndShortPauses) {
  StandardRig rig("td-b");
  EXPECT_FALSE(rig.Download(4));
  const std::vector<sim::RecordedReport> reports = rig.device().featureReports();
  for (std::size_t i = 1; i < reports.size(); ++i)
    EXPECT_GE(reports[i].time - reports[i - 1].time, Milliseconds(10)) << "report " << i;
  EXPECT_EQ(rig.port.pauses,
            (std::vector<Milliseconds>{Milliseconds(100), Milliseconds(100), Milliseconds(10),
                                       Milliseconds(100), Milliseconds(10)}));
  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.keys.size(), 4u);
  // From the last byte of one key to the first of the next: the report's own 10 ms plus the
  // pause after the key.
  EXPECT_GE(image.keys[1].byteTimes.front() - image.keys[0].byteTimes.back(), Milliseconds(110));
  EXPECT_GE(image.keys[2].byteTimes.front() - image.keys[1].byteTimes.back(), Milliseconds(20));
  EXPECT_GE(image.keys[3].byteTimes.front() - image.keys[2].byteTimes.back(), Milliseconds(110));
}

TEST(StandardDownload, RejectedFirstReportStopsEverything) {
  StandardRig rig("td-a:reject-feature=1");
  EXPECT_TRUE(rig.Download(4));
  EXPECT_EQ(rig.device().featureReports().size(), 1u) << "nothing after the rejected report";
  const sim::ReceivedKeyImage image = rig.Received();
  EXPECT_TRUE(image.globalBlock.empty());
  EXPECT_TRUE(image.keys.empty());
  EXPECT_FALSE(image.endByte);
  EXPECT_EQ(rig.port.progressPosition, 0);
}

TEST(StandardDownload, ReportRejectedInsideAKeyLeavesThatKeyIncompleteAndNoEndByte) {
  // Block 15, key 0 eight bytes, then the fourth byte of key 1.
  StandardRig rig("td-a:reject-feature=27");
  EXPECT_TRUE(rig.Download(4));
  EXPECT_EQ(rig.device().featureReports().size(), 27u);
  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.keys.size(), 2u);
  EXPECT_TRUE(image.keys[0].complete);
  EXPECT_FALSE(image.keys[1].complete);
  EXPECT_EQ(image.keys[1].header.size(), 3u);
  EXPECT_FALSE(image.endByte);
  EXPECT_EQ(rig.port.progressPosition, 2);
}

TEST(StandardDownload, KeypadUnpluggedMidDownloadFailsWithNothingLeftOpen) {
  StandardRig rig("td-b:unplug-after-features=20");
  EXPECT_TRUE(rig.Download(4));
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.keys.size(), 1u);
  EXPECT_FALSE(image.keys[0].complete);
  EXPECT_FALSE(image.endByte);
}

}  // namespace
}  // namespace tdxx
