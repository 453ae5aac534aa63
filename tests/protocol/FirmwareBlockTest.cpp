// One firmware block against a simulated bootloader, with the stream opened by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ProtocolRig.h"
#include "protocol/Detection.h"
#include "protocol/FirmwareUpgrade.h"

namespace tdxx::test {
namespace {

class FirmwareBlock : public testing::Test {
 protected:
  void Open() {
    ProtocolContext ctx = rig.Context();
    DetectKeypad(ctx, false);
    ASSERT_EQ(rig.deviceKind, 4);
    ASSERT_FALSE(rig.transport->OpenStream(ReportMode::U));
  }
  int Write(std::uint32_t address) {
    ProtocolContext ctx = rig.Context();
    const int code = WriteFirmwareBlock(ctx, address, block);
    rig.transport->CloseStream();
    return code;
  }

  ProtocolRig rig{{"tdxx-bootloader"}};
  tdxx::FirmwareBlock block = [] {
    tdxx::FirmwareBlock b{};
    for (std::size_t i = 0; i < b.size(); ++i)
      b[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return b;
  }();
};

TEST_F(FirmwareBlock, BurnsAndVerifiesTheBlockNumberedByItsAddress) {
  Open();
  EXPECT_EQ(Write(8192 + 7 * 512), kUpgradeDone);
  const std::vector<std::uint8_t> flash = rig.device().config().flash->Read(8192 + 7 * 512, 512);
  EXPECT_EQ(flash, std::vector<std::uint8_t>(block.begin(), block.end()));
}

TEST_F(FirmwareBlock, BootloaderRefusesToBurnIntoItsOwnArea) {
  Open();
  EXPECT_EQ(Write(15 * 512), kUpgradeBurnFailed);
  EXPECT_EQ(rig.device().config().flash->Read(15 * 512, 512), std::vector<std::uint8_t>(512, 0xFF));
}

TEST_F(FirmwareBlock, UnansweredTransferWaitsOnceMoreThenGivesUp) {
  Open();
  rig.device().UnplugAfterReports(1);
  EXPECT_EQ(Write(8192), kUpgradeTransferUnanswered);
  EXPECT_EQ(rig.port.log, "\r\n... Download retry wait");
}

// A wrong byte at either end of the block, and at either end of a chunk, is caught: the
// read-back compares all 16 chunks, each in full.
TEST_F(FirmwareBlock, ReadbackDifferingInTheFirstOrLastChunkAtItsFirstOrLastByteFails) {
  for (const int chunk : {0, 15}) {
    for (const int byte : {0, 31}) {
      rig.device().Configure([&](sim::DeviceConfig& c) {
        c.corruptReadbackAttempt = 1;
        c.corruptReadbackTimes = 1000;
        c.corruptReadbackChunk = chunk;
        c.corruptReadbackByte = byte;
      });
      Open();
      EXPECT_EQ(Write(16 * 512), kUpgradeReadbackDiffers) << "chunk " << chunk << ", byte " << byte;
      EXPECT_EQ(rig.device().config().flash->Read(16 * 512, 512),
                std::vector<std::uint8_t>(512, 0xFF))
          << "nothing is burnt after a wrong read-back";
    }
  }
}

TEST(FirmwareBlocks, LastBlockOfTheLongImageEndsInErasedBytes) {
  FirmwareImage firmware;
  firmware.image.fill(0x00);
  firmware.imageLength = 64448;
  EXPECT_EQ(FirmwareBlockCount(firmware), 110);
  const tdxx::FirmwareBlock last = FirmwareBlockAt(firmware, 64000);
  EXPECT_EQ(std::count(last.begin(), last.begin() + 448, 0x00), 448);
  EXPECT_EQ(std::count(last.begin() + 448, last.end(), 0xFF), 64);
  firmware.imageLength = 64000;
  EXPECT_EQ(FirmwareBlockCount(firmware), 109);
}

}  // namespace
}  // namespace tdxx::test
