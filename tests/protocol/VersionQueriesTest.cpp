#include "protocol/VersionQueries.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "ProtocolRig.h"
#include "sim/DeviceCatalog.h"

namespace tdxx {
namespace {

using sim::kCommandBootloaderInstalled;
using sim::kCommandBuildDate;
using sim::kCommandFlashDriveVersion;
using sim::kCommandKeyCapacity;
using sim::kCommandKeypadVersion;
using sim::kCommandVersion;
using test::ByteList;
using test::ProtocolRig;
using test::TextBytes;

constexpr Milliseconds kReplyWait{100};
constexpr const char* kBootLabel = "\r\n Bootloader Version  : ";
constexpr const char* kKeypadLabel = "\r\n Keypad Version      : ";
constexpr const char* kFlashLabel = "\r\n Flash Drive Version : ";

// A device found and ready for its stream, with an empty keypad panel.
struct QueryRig : ProtocolRig {
  explicit QueryRig(const std::string& kind, std::uint8_t statusByte = 17) : ProtocolRig({kind}) {
    transport->FindKeypad(false);
    info.statusByte = statusByte;
    port.keypadText.clear();
  }
  void QueryBootloader() {
    ProtocolContext ctx = Context();
    QueryBootloaderVersions(ctx);
  }
  void QueryDevice() {
    ProtocolContext ctx = Context();
    QueryDeviceVersions(ctx);
  }
  void ExpectClosed() {
    EXPECT_FALSE(transport->streamOpen());
    EXPECT_FALSE(transport->hidBound());
    EXPECT_EQ(bus().openHandleCount(), 0);
  }
};

TEST(BootloaderVersions, ShowsSixteenBytesOfEachReply) {
  QueryRig rig("tdxx-bootloader");
  rig.device().SetReply(kCommandVersion, TextBytes("ABCDEFGHIJKLMNOP"));
  rig.device().SetReply(kCommandKeypadVersion, TextBytes("TD-A v3.12 build"));
  rig.device().SetReply(kCommandFlashDriveVersion, TextBytes("FD v1.02 ~!@#$%^"));
  rig.QueryBootloader();

  EXPECT_EQ(rig.port.keypadText, std::string(kBootLabel) + "ABCDEFGHIJKLMNOP" + kKeypadLabel +
                                     "TD-A v3.12 build" + kFlashLabel + "FD v1.02 ~!@#$%^");
  EXPECT_EQ(FieldText(rig.info.bootloaderVersion), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(rig.info.bootloaderVersion[16], 0);
  EXPECT_EQ(rig.device().receivedPayload(),
            ByteList({0x40, kCommandVersion, 0x40, kCommandKeypadVersion, 0x40,
                      kCommandFlashDriveVersion}));
  EXPECT_EQ(rig.PausesOf(kReplyWait), 3);
  rig.ExpectClosed();
}

TEST(BootloaderVersions, KeypadAndFlashVersionsShowUnprintableBytesAsSpaces) {
  QueryRig rig("tdxx-bootloader");
  const std::vector<std::uint8_t> raw = ByteList(
      {'V', 0x00, 0x1F, 0x20, '1', 0x7E, 0x7F, 0x80, 0x81, 0xFF, 'x', 0x0D, 0x0A, 0x09, 'y', 'z'});
  const std::string shown = std::string("V   1~\x7F   x   yz");
  rig.device().SetReply(kCommandVersion, raw);
  rig.device().SetReply(kCommandKeypadVersion, raw);
  rig.device().SetReply(kCommandFlashDriveVersion, raw);
  rig.QueryBootloader();

  EXPECT_EQ(FieldText(rig.info.keypadVersion), shown);
  EXPECT_EQ(FieldText(rig.info.flashDriveVersion), shown);
  EXPECT_EQ(shown.size(), 16u);
  // The bootloader version keeps its bytes as received, so its text ends at the zero byte.
  EXPECT_EQ(std::vector<std::uint8_t>(rig.info.bootloaderVersion.begin(),
                                      rig.info.bootloaderVersion.begin() + 16),
            raw);
  EXPECT_EQ(rig.port.keypadText,
            std::string(kBootLabel) + "V" + kKeypadLabel + shown + kFlashLabel + shown);
}

TEST(BootloaderVersions, ZeroAtTheFifthByteShowsFourCharacters) {
  QueryRig rig("tdxx-bootloader:silent");
  std::vector<std::uint8_t> reply = TextBytes("v1.6 and the rest");
  reply.resize(16);
  reply[4] = 0x00;
  rig.device().SetReply(kCommandVersion, reply);
  rig.QueryBootloader();
  EXPECT_EQ(rig.port.keypadText, std::string(kBootLabel) + "v1.6");
}

struct KeyCapacityCase {
  std::uint8_t statusByte;
  bool asked;
};

class BootloaderKeyCapacity : public testing::TestWithParam<KeyCapacityCase> {};

TEST_P(BootloaderKeyCapacity, IsAskedFromStatus18On) {
  const KeyCapacityCase& c = GetParam();
  QueryRig rig("tdxx-bootloader", c.statusByte);
  rig.device().SetReply(kCommandKeyCapacity, ByteList({48}));
  rig.QueryBootloader();
  std::vector<std::uint8_t> sent = ByteList(
      {0x40, kCommandVersion, 0x40, kCommandKeypadVersion, 0x40, kCommandFlashDriveVersion});
  if (c.asked)
    sent.insert(sent.end(), {0x40, kCommandKeyCapacity});
  EXPECT_EQ(rig.device().receivedPayload(), sent);
  EXPECT_EQ(rig.info.keyCapacity, c.asked ? 48 : 0);
  EXPECT_EQ(rig.PausesOf(kReplyWait), c.asked ? 4 : 3);
}

INSTANTIATE_TEST_SUITE_P(Status, BootloaderKeyCapacity,
                         testing::Values(KeyCapacityCase{0, false}, KeyCapacityCase{17, false},
                                         KeyCapacityCase{18, true}, KeyCapacityCase{255, true}));

TEST(BootloaderVersions, KeyCapacityTakesOnlyASingleByte) {
  QueryRig rig("tdxx-bootloader", 18);
  rig.device().SetReply(kCommandKeyCapacity, ByteList({48, 0}));
  rig.QueryBootloader();
  EXPECT_EQ(rig.info.keyCapacity, 0);
}

TEST(BootloaderVersions, SingleByteFlashDriveReplyIsDiscarded) {
  // Left in the queue, the byte would turn the one-byte key capacity reply into two.
  QueryRig rig("917-bootloader", 18);
  rig.device().SetReply(kCommandFlashDriveVersion, ByteList({0x15}));
  rig.device().SetReply(kCommandKeyCapacity, ByteList({24}));
  rig.QueryBootloader();
  EXPECT_EQ(rig.port.keypadText.find(kFlashLabel), std::string::npos);
  EXPECT_EQ(FieldText(rig.info.flashDriveVersion), "");
  EXPECT_EQ(rig.info.keyCapacity, 24);
}

struct SilentCase {
  const char* kind;
  std::uint8_t statusByte;
  int waits;
};

class SilentDevice : public testing::TestWithParam<SilentCase> {};

TEST_P(SilentDevice, WaitsOncePerCommandAndAddsNothing) {
  const SilentCase& c = GetParam();
  QueryRig rig(c.kind, c.statusByte);
  rig.info.bootloaderVersion.fill('x');
  rig.info.keypadVersion.fill('x');
  rig.info.flashDriveVersion.fill('x');
  rig.info.deviceVersion.fill('x');
  rig.info.buildDate.fill('x');
  rig.info.bootloaderInstalled.fill('x');
  const bool bootloader = std::string(c.kind).find("bootloader") != std::string::npos;
  if (bootloader) {
    rig.QueryBootloader();
    EXPECT_EQ(FieldText(rig.info.bootloaderVersion), "");
    EXPECT_EQ(FieldText(rig.info.keypadVersion), "");
    EXPECT_EQ(FieldText(rig.info.flashDriveVersion), "");
  } else {
    rig.QueryDevice();
    EXPECT_EQ(FieldText(rig.info.deviceVersion), "");
    EXPECT_EQ(FieldText(rig.info.buildDate), "");
    EXPECT_EQ(FieldText(rig.info.bootloaderInstalled), "");
  }
  EXPECT_EQ(rig.port.pauses, std::vector<Milliseconds>(c.waits, kReplyWait));
  EXPECT_EQ(rig.port.keypadText, "");
  rig.ExpectClosed();
}

INSTANTIATE_TEST_SUITE_P(Devices, SilentDevice,
                         testing::Values(SilentCase{"tdxx-bootloader:silent", 17, 3},
                                         SilentCase{"tdxx-bootloader:silent", 18, 4},
                                         SilentCase{"prg-tmode:silent", 0x12, 3}));

TEST(BootloaderVersions, LateReplyIsReadAsTheStartOfTheNextOne) {
  QueryRig rig("tdxx-bootloader");
  rig.device().SetReply(kCommandVersion, TextBytes("TD Boot v1.60   "));
  rig.device().SetLateAnswer(kCommandVersion, Milliseconds(150));
  rig.device().SetReply(kCommandKeypadVersion, TextBytes("TD-A v3.12      "));
  // Still before its own look, but after the bootloader version has come in.
  rig.device().SetLateAnswer(kCommandKeypadVersion, Milliseconds(60));
  rig.QueryBootloader();
  EXPECT_EQ(rig.port.keypadText,
            std::string(kKeypadLabel) + "TD Boot v1.60   " + kFlashLabel + "TD-A v3.12      ");
  EXPECT_EQ(FieldText(rig.info.bootloaderVersion), "");
}

TEST(BootloaderVersions, ShortReplyStaysForTheNextCommand) {
  QueryRig rig("tdxx-bootloader:silent");
  rig.device().SetReply(kCommandVersion, TextBytes("0123456789ABCDE"));  // 15 bytes
  rig.device().SetReply(kCommandKeypadVersion, TextBytes("abcdefghijklmnop"));
  rig.QueryBootloader();
  EXPECT_EQ(rig.port.keypadText, std::string(kKeypadLabel) + "0123456789ABCDEa");
}

TEST(BootloaderVersions, StreamThatCannotOpenAsksNothing) {
  QueryRig rig("tdxx-bootloader");
  rig.device().RefuseOpen(EACCES);
  rig.info.bootloaderVersion.fill('x');
  rig.QueryBootloader();
  EXPECT_EQ(FieldText(rig.info.bootloaderVersion), "");
  EXPECT_TRUE(rig.port.pauses.empty());
  EXPECT_EQ(rig.port.keypadText, "");
  EXPECT_TRUE(rig.device().outputReports().empty());
  rig.ExpectClosed();
}

TEST(DeviceVersions, ShowsVersionBuildDateAndBootloader) {
  QueryRig rig("prg-tmode");
  rig.device().SetReply(kCommandVersion, TextBytes("TD-A TMode v3.12"));
  rig.device().SetReply(kCommandBuildDate, TextBytes("20190412"));
  rig.device().SetReply(kCommandBootloaderInstalled, ByteList({'Y'}));
  rig.QueryDevice();
  EXPECT_EQ(rig.port.keypadText,
            "\r\n TDxx/WKxxx Version  : TD-A TMode v3.12"
            "\r\n Firmware Build Date : 20190412"
            "\r\n Bootloader Installed: Yes");
  EXPECT_EQ(rig.device().receivedPayload(),
            ByteList({0x40, kCommandVersion, 0x40, kCommandBuildDate, 0x40,
                      kCommandBootloaderInstalled}));
  EXPECT_EQ(rig.device().outputReports().front().bytes.size(), 9u);  // 'T' reports
  EXPECT_EQ(rig.PausesOf(kReplyWait), 3);
  rig.ExpectClosed();
}

class DeviceBootloaderInstalled : public testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(DeviceBootloaderInstalled, OnlyYMeansYes) {
  QueryRig rig("prg-tmode:silent");
  rig.device().SetReply(kCommandBootloaderInstalled, ByteList({GetParam().first}));
  rig.QueryDevice();
  EXPECT_EQ(rig.port.keypadText, std::string("\r\n Bootloader Installed: ") + GetParam().second);
  EXPECT_EQ(rig.info.bootloaderInstalled[0], static_cast<char>(GetParam().first));
}

INSTANTIATE_TEST_SUITE_P(Replies, DeviceBootloaderInstalled,
                         testing::Values(std::pair<int, const char*>{'Y', "Yes"},
                                         std::pair<int, const char*>{'N', "No"},
                                         std::pair<int, const char*>{'y', "No"},
                                         std::pair<int, const char*>{0x00, "No"}));

TEST(DeviceVersions, ShortBuildDateIsReadByTheNextCommand) {
  QueryRig rig("prg-tmode:silent");
  rig.device().SetReply(kCommandBuildDate, TextBytes("2019041"));  // 7 bytes
  rig.device().SetReply(kCommandBootloaderInstalled, ByteList({'Y'}));
  rig.QueryDevice();
  // The bootloader query takes the first waiting byte, the '2' of the date.
  EXPECT_EQ(rig.port.keypadText, "\r\n Bootloader Installed: No");
  EXPECT_EQ(FieldText(rig.info.buildDate), "");
  rig.ExpectClosed();
}

}  // namespace
}  // namespace tdxx
