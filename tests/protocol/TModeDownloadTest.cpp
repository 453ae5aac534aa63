#include "protocol/TModeDownload.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProtocolRig.h"
#include "protocol/Detection.h"
#include "sim/DeviceCatalog.h"
#include "support/KeyTableSamples.h"

namespace tdxx {
namespace {

using test::ByteList;
using test::ExpectKeyReceived;
using test::ProtocolRig;
using test::SampleKeyTable;

constexpr const char* kKeysLine = "\r\n...Downloading keys.";

struct TModeRig : ProtocolRig {
  explicit TModeRig(const std::string& kind) : ProtocolRig({kind}) {
    ProtocolContext ctx = Context();
    DetectKeypad(ctx, false);
    device().ClearRecordings();
    port.log.clear();
  }
  bool Download(int count) {
    port.SetProgressMaximum(count + 1);
    port.SetProgressPosition(0);
    ProtocolContext ctx = Context();
    return DownloadKeysTMode(ctx, table, block, count);
  }
  sim::ReceivedKeyImage Received() { return device().config().keyImage->Snapshot(); }
  // How many times the device was sent the two-byte command 0x40 `command` outside groups.
  int CommandsSeen(std::uint8_t command) {
    const std::vector<std::uint8_t> payload = device().receivedPayload();
    int seen = 0;
    for (std::size_t i = 0; i + 1 < payload.size(); ++i) {
      if (payload[i] == 0x40 && payload[i + 1] == command && (i == 0 || payload[i - 1] != 0xE2))
        ++seen;
    }
    return seen;
  }

  KeyTable table = SampleKeyTable();
  GlobalParameterBlock block{};
};

TEST(TModeDownload, DeviceTakesBlockKeysAndEndByteInGroupsWithAPingBeforeEveryKey) {
  TModeRig rig("prg-tmode-wk-c");  // capacity 66, more than sent: nothing changes
  rig.device().SetReply(sim::kCommandPing, ByteList({0x50, 0x4B, 0x13}));
  EXPECT_FALSE(rig.Download(5));

  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.globalBlock.size(), 15u);
  EXPECT_EQ(image.globalBlock[2], 12);
  for (std::size_t i = 3; i < 15; ++i)
    EXPECT_EQ(image.globalBlock[i], rig.block.bytes[i]);
  ASSERT_EQ(image.keys.size(), 5u);
  for (std::size_t k = 0; k < 5; ++k)
    ExpectKeyReceived(image.keys[k], rig.table[k]);
  EXPECT_TRUE(image.endByte);
  EXPECT_TRUE(image.strayBytes.empty());
  EXPECT_EQ(rig.CommandsSeen(sim::kCommandPing), 6);
  EXPECT_EQ(rig.CommandsSeen(sim::kCommandKeyCapacity), 1);
  EXPECT_EQ(rig.info.pingLevel, 0x13) << "the last byte of the answer";

  const std::vector<std::uint8_t> payload = rig.device().receivedPayload();
  ASSERT_GE(payload.size(), 7u);
  EXPECT_EQ(std::vector<std::uint8_t>(payload.begin(), payload.begin() + 7),
            ByteList({0x40, 0x08, 0x40, 0x1D, 0xE2, 0xE4, 0x01}));
  EXPECT_EQ(std::vector<std::uint8_t>(payload.end() - 2, payload.end()), ByteList({0xE2, 0xE5}));
  EXPECT_FALSE(rig.transport->streamOpen());
  EXPECT_EQ(rig.port.progressPosition, rig.port.progressMaximum);
  EXPECT_EQ(rig.port.log, std::string("\r\n...Download start\r\n...Downloading globals.") +
                              kKeysLine +
                              "\r\n...Downloading key #1.\r\n...Downloading key #2."
                              "\r\n...Downloading key #3.\r\n...Downloading key #4."
                              "\r\n...Downloading key #5.");
}

TEST(TModeDownload, LowPingLevelSkipsTheCapacityQueryAndSendsEveryKey) {
  TModeRig rig("prg-tmode:ping=0x11");  // would say 24 if asked
  EXPECT_FALSE(rig.Download(30));
  EXPECT_EQ(rig.CommandsSeen(sim::kCommandKeyCapacity), 0);
  EXPECT_EQ(rig.Received().CompleteKeyCount(), 30);
  EXPECT_EQ(rig.port.log.find("Truncating"), std::string::npos);
}

TEST(TModeDownload, SmallerCapacityTruncatesAndExactlyTwentyFourKeysGoSlower) {
  TModeRig rig("prg-tmode:capacity=24");
  EXPECT_FALSE(rig.Download(48));
  EXPECT_NE(rig.port.log.find("\r\n...Truncating number of keys to match device."
                              "\r\n...Downloading globals."),
            std::string::npos);
  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.keys.size(), 24u);
  EXPECT_EQ(image.CompleteKeyCount(), 24);
  EXPECT_TRUE(image.endByte);
  EXPECT_EQ(rig.port.progressMaximum, 49);
  EXPECT_EQ(rig.port.progressPosition, 49);
  for (const sim::ReceivedKey& key : image.keys) {
    for (std::size_t i = 1; i < key.byteTimes.size(); ++i)
      EXPECT_GE(key.byteTimes[i] - key.byteTimes[i - 1], Milliseconds(20));
  }
}

TEST(TModeDownload, OtherKeyCountsSendTheirBytesTenMillisecondsApart) {
  TModeRig rig("prg-tmode-td-b");
  EXPECT_FALSE(rig.Download(3));
  const sim::ReceivedKeyImage image = rig.Received();
  ASSERT_EQ(image.keys.size(), 3u);
  for (const sim::ReceivedKey& key : image.keys) {
    for (std::size_t i = 1; i < key.byteTimes.size(); ++i)
      EXPECT_GE(key.byteTimes[i] - key.byteTimes[i - 1], Milliseconds(10));
  }
  // Each key is preceded by a ping: command, 100 ms, the answer.
  EXPECT_GE(image.keys[1].byteTimes.front() - image.keys[0].byteTimes.back(), Milliseconds(110));
}

TEST(TModeDownload, PingLostBeforeKeyFiveEndsTheDownloadThere) {
  TModeRig rig("prg-tmode:no-ping-from-key=5");
  EXPECT_TRUE(rig.Download(8));
  const std::string tail = "\r\n...Downloading key #5.\r\n...FAILED communication (ping).";
  ASSERT_GE(rig.port.log.size(), tail.size());
  EXPECT_EQ(rig.port.log.substr(rig.port.log.size() - tail.size()), tail);
  const sim::ReceivedKeyImage image = rig.Received();
  EXPECT_EQ(image.keys.size(), 4u);
  EXPECT_FALSE(image.endByte);
  EXPECT_FALSE(rig.transport->streamOpen());
  EXPECT_EQ(rig.info.pingLevel, 0);
}

TEST(TModeDownload, DeviceThatNeverAnswersFailsAfterTheFirstPing) {
  TModeRig rig("prg-tmode:silent");
  EXPECT_TRUE(rig.Download(3));
  EXPECT_EQ(rig.port.log, "\r\n...Download start\r\n...FAILED communication.");
  EXPECT_TRUE(rig.Received().globalBlock.empty());
  EXPECT_FALSE(rig.transport->streamOpen());
  // 100 ms, then a hundred polls 10 ms apart.
  EXPECT_EQ(rig.PausesOf(Milliseconds(10)), 100);
}

TEST(TModeDownload, LateAnswersCountUpToTheLastPoll) {
  {
    TModeRig rig("prg-tmode:ping-late=900:ping-short");
    EXPECT_FALSE(rig.Download(2));
    EXPECT_EQ(rig.info.pingLevel, 0x12);
  }
  {
    TModeRig rig("prg-tmode:ping-late=1500");
    EXPECT_TRUE(rig.Download(2));
    EXPECT_EQ(rig.port.log, "\r\n...Download start\r\n...FAILED communication.");
  }
}

TEST(TModeDownload, WithoutADeviceTheStreamCannotOpen) {
  TModeRig rig("prg-tmode");
  rig.device().Unplug();
  EXPECT_TRUE(rig.Download(3));
  EXPECT_EQ(rig.port.log, "\r\n...Download start\r\n...FAILED! Cannot open keypad.");
}

TEST(TModeDownload, DeviceUnpluggedInsideAKeyGetsNothingMore) {
  TModeRig rig("prg-tmode-td-b");
  // Pings, the capacity query, the block and two keys, then a few bytes into the third key.
  rig.device().UnplugAfterReports(80);
  EXPECT_TRUE(rig.Download(10));
  const sim::ReceivedKeyImage image = rig.Received();
  EXPECT_LT(image.CompleteKeyCount(), 10);
  EXPECT_FALSE(image.endByte);
  EXPECT_FALSE(rig.transport->streamOpen());
  EXPECT_NE(rig.port.log.find("FAILED"), std::string::npos);
}

}  // namespace
}  // namespace tdxx
