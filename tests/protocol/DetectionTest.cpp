#include "protocol/Detection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProtocolRig.h"
#include "sim/DeviceCatalog.h"

namespace tdxx {
namespace {

using test::ByteList;
using test::ProtocolRig;
using test::TextBytes;

constexpr const char* kNoKeypad = "No Tasterdeck found! Please connect your USB keypad.";
constexpr const char* kSeveral = "***Please connect only ONE programmable device at a time!***";

// What Connect leaves when the device needs no identity read, or when that read fails.
struct FoundCase {
  const char* name;
  std::vector<std::string> kinds;
  DeviceKind kind;
  const char* panel;
};

class DetectionFoundText : public testing::TestWithParam<FoundCase> {};

TEST_P(DetectionFoundText, NamesTheDeviceAndLeavesNothingOpen) {
  const FoundCase& c = GetParam();
  ProtocolRig rig(c.kinds);
  rig.port.keypadText = "old text";
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);

  EXPECT_EQ(rig.deviceKind, c.kind);
  EXPECT_EQ(rig.port.keypadText, c.panel);
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  for (std::size_t i = 0; i < rig.bus().deviceCount(); ++i) {
    EXPECT_TRUE(rig.bus().device(i).outputReports().empty()) << "no version query";
  }
  EXPECT_EQ(rig.port.waitCursorShown, 1);
  EXPECT_EQ(rig.port.waitCursorDepth, 0);
  EXPECT_GE(rig.port.repaints, static_cast<int>(rig.port.keypadHistory.size()));
  EXPECT_TRUE(rig.port.log.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DetectionFoundText,
    testing::Values(
        FoundCase{"Keypad917v4", {"917-v4"}, 1, "KEYPAD found: Quorvane 917 v4.1 to v5.0."},
        FoundCase{"Keypad917v5", {"917-v5"}, 2, "KEYPAD found: Quorvane 917 v5.1 to v6.0."},
        FoundCase{"TdA", {"td-a"}, 5, "KEYPAD found: Quorvane Tasterdeck TD-A."},
        FoundCase{"TdB", {"td-b"}, 6, "KEYPAD found: Quorvane Tasterdeck TD-B."},
        FoundCase{"WkC", {"wk-c"}, 8, "KEYBOARD found: Quorvane WK-C"},
        FoundCase{"TdAKbMouse", {"td-a-kbmouse"}, 10, "DEVICE found: Quorvane TD-A (KBMouse)"},
        FoundCase{"TdBKbMouse", {"td-b-kbmouse"}, 11, "DEVICE found: Quorvane TD-B (KBMouse)"},
        FoundCase{"WkCKbMouse", {"wk-c-kbmouse"}, 12, "DEVICE found: Quorvane WK-C (KBMouse)"},
        FoundCase{"Slimkey947", {"slimkey-947"}, 14, "DEVICE found: Quorvane Slimkey 947"},
        FoundCase{"TwoTdA", {"td-a", "td-a"}, 5, "KEYPAD found: Quorvane Tasterdeck TD-A."},
        FoundCase{"TdAAndTdB", {"td-a", "td-b"}, -1, kSeveral},
        FoundCase{"KeypadAndBootloader", {"917-v5", "tds-bootloader"}, -1, kSeveral},
        FoundCase{"NothingPlugged", {}, 0, kNoKeypad},
        FoundCase{"OnlyAMouse", {"mouse"}, 0, kNoKeypad},
        // Identity read fails: no suffix, no versions.
        FoundCase{"Bootloader917IdentityFails",
                  {"917-bootloader:identity-fails"},
                  3,
                  "BOOTLOADER found: Quorvane 917 v6"},
        FoundCase{"TdxxBootloaderIdentityFails",
                  {"tdxx-bootloader:identity-fails"},
                  4,
                  "BOOTLOADER found: Quorvane TDxx/WKxxx"},
        FoundCase{"TdsBootloaderIdentityFails",
                  {"tds-bootloader:identity-fails"},
                  7,
                  "BOOTLOADER found: Quorvane Tasterdeck TDSxx"},
        FoundCase{"PrgTModeIdentityFails",
                  {"prg-tmode:identity-fails"},
                  9,
                  "DEVICE found: Quorvane TDxx/WKxxx (PRG/TMode)"}),
    [](const testing::TestParamInfo<FoundCase>& info) { return info.param.name; });

// Model suffix of a kind 4 or 7 bootloader, from bytes 2 to 8 of its identity report.
struct BootloaderSuffixCase {
  const char* name;
  const char* simKind;
  const char* model;  // bytes 2 to 8
  const char* found;
  const char* suffix;
  DeviceKind kind;
};

class DetectionBootloaderSuffix : public testing::TestWithParam<BootloaderSuffixCase> {};

TEST_P(DetectionBootloaderSuffix, AppendsTheFirstMatchingRow) {
  const BootloaderSuffixCase& c = GetParam();
  ProtocolRig rig({std::string(c.simKind) + ":silent"});
  std::vector<std::uint8_t> report = ByteList({0x00, 0x33});
  for (const char* p = c.model; *p != 0; ++p)
    report.push_back(static_cast<std::uint8_t>(*p));
  report.resize(9, 0);
  rig.device().SetIdentityReport(report);
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);

  EXPECT_EQ(rig.port.keypadText, std::string(c.found) + c.suffix);
  EXPECT_EQ(rig.deviceKind, c.kind);
  EXPECT_EQ(rig.info.statusByte, 0x33);
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  EXPECT_FALSE(rig.transport->hidBound());
}

constexpr const char* kTdxx = "BOOTLOADER found: Quorvane TDxx/WKxxx";
constexpr const char* kTds = "BOOTLOADER found: Quorvane Tasterdeck TDSxx";

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectionBootloaderSuffix,
    testing::Values(
        BootloaderSuffixCase{"TdA", "tdxx-bootloader", "TD-Av01", kTdxx, " (Model TD-A).", 4},
        BootloaderSuffixCase{"TdB", "tdxx-bootloader", "TD-Bv01", kTdxx, " (Model TD-B).", 4},
        BootloaderSuffixCase{"TdsA", "tds-bootloader", "TD-As01", kTds, " (Model TDS-A).", 7},
        BootloaderSuffixCase{"TdsB", "tds-bootloader", "TD-Bs01", kTds, " (Model TDS-B).", 7},
        BootloaderSuffixCase{"WkC", "tdxx-bootloader", "WK-Cv01", kTdxx, " (Model WK-C).", 4},
        BootloaderSuffixCase{"Model947", "tdxx-bootloader", "S947v01", kTdxx, " (Model 947).", 13},
        BootloaderSuffixCase{"Model947OnTds", "tds-bootloader", "X947s", kTds, " (Model 947).", 13},
        // Only the listed bytes count.
        BootloaderSuffixCase{"OtherNameSameSeries", "tdxx-bootloader", "XY-Av", kTdxx,
                             " (Model TD-A).", 4},
        BootloaderSuffixCase{"UnknownModelLetter", "tds-bootloader", "TD-Cs01", kTds, ".", 7},
        BootloaderSuffixCase{"UppercaseSeries", "tdxx-bootloader", "TD-AV01", kTdxx, ".", 4},
        BootloaderSuffixCase{"NoDash", "tdxx-bootloader", "TD_Av01", kTdxx, ".", 4},
        BootloaderSuffixCase{"WkD", "tdxx-bootloader", "WK-Dv01", kTdxx, ".", 4},
        BootloaderSuffixCase{"Model948", "tdxx-bootloader", "S948v01", kTdxx, ".", 4},
        BootloaderSuffixCase{"ZeroReport", "tds-bootloader", "", kTds, ".", 7}),
    [](const testing::TestParamInfo<BootloaderSuffixCase>& info) { return info.param.name; });

struct SmallSuffixCase {
  const char* name;
  std::vector<std::uint8_t> report;
  const char* suffix;
};

class Detection917Suffix : public testing::TestWithParam<SmallSuffixCase> {};

TEST_P(Detection917Suffix, AddsDigitsOnlyForThe917AndKeepsStatusZero) {
  ProtocolRig rig({"917-bootloader:silent"});
  rig.device().SetIdentityReport(GetParam().report);
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.port.keypadText,
            std::string("BOOTLOADER found: Quorvane 917 v6") + GetParam().suffix);
  EXPECT_EQ(rig.deviceKind, 3);
  EXPECT_EQ(rig.info.statusByte, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Detection917Suffix,
    testing::Values(
        SmallSuffixCase{"Digits17", ByteList({0, 0x20, 'B', 'O', 'O', 'T', '9', '1', '7'}), ".00."},
        SmallSuffixCase{"Digits18", ByteList({0, 0x20, 'B', 'O', 'O', 'T', '9', '1', '8'}), "."},
        SmallSuffixCase{"Digits71", ByteList({0, 0x20, 'B', 'O', 'O', 'T', '9', '7', '1'}), "."},
        SmallSuffixCase{"ZeroReport", ByteList({0, 0x20}), "."}),
    [](const testing::TestParamInfo<SmallSuffixCase>& info) { return info.param.name; });

class DetectionPrgTModeSuffix : public testing::TestWithParam<SmallSuffixCase> {};

TEST_P(DetectionPrgTModeSuffix, AppendsTheModelFromTheSixByteReport) {
  ProtocolRig rig({"prg-tmode:silent"});
  rig.device().SetIdentityReport(GetParam().report);
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.port.keypadText,
            std::string("DEVICE found: Quorvane TDxx/WKxxx (PRG/TMode)") + GetParam().suffix);
  EXPECT_EQ(rig.deviceKind, 9);
  EXPECT_EQ(rig.info.statusByte, 0x12);
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DetectionPrgTModeSuffix,
    testing::Values(
        SmallSuffixCase{"TdA", ByteList({0, 0x12, 'T', 'D', '-', 'A'}), " (Model TD-A)."},
        SmallSuffixCase{"TdB", ByteList({0, 0x12, 'T', 'D', '-', 'B'}), " (Model TD-B)."},
        SmallSuffixCase{"WkC", ByteList({0, 0x12, 'W', 'K', '-', 'C'}), " (Model WK-C)."},
        SmallSuffixCase{"TdC", ByteList({0, 0x12, 'T', 'D', '-', 'C'}), "."},
        SmallSuffixCase{"Lowercase", ByteList({0, 0x12, 't', 'd', '-', 'a'}), "."},
        SmallSuffixCase{"ZeroReport", ByteList({0, 0x12}), "."}),
    [](const testing::TestParamInfo<SmallSuffixCase>& info) { return info.param.name; });

TEST(Detection, BootloaderShowsModelThenVersionsAndEndsClosed) {
  ProtocolRig rig({"tds-bootloader"});
  rig.device().SetIdentityReport(ByteList({0, 18, 'T', 'D', '-', 'A', 's', '0', '1'}));
  rig.device().SetReply(sim::kCommandVersion, TextBytes("TDS Boot v2.10  "));
  rig.device().SetReply(sim::kCommandKeypadVersion, TextBytes("TDS-A v4.20     "));
  rig.device().SetReply(sim::kCommandFlashDriveVersion, TextBytes("TDS FD v1.05    "));
  rig.device().SetReply(sim::kCommandKeyCapacity, ByteList({24}));
  rig.info.keyCapacity = 99;
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);

  EXPECT_EQ(rig.port.keypadText,
            "BOOTLOADER found: Quorvane Tasterdeck TDSxx (Model TDS-A)."
            "\r\n Bootloader Version  : TDS Boot v2.10  "
            "\r\n Keypad Version      : TDS-A v4.20     "
            "\r\n Flash Drive Version : TDS FD v1.05    ");
  EXPECT_EQ(rig.deviceKind, 7);
  EXPECT_EQ(rig.info.statusByte, 18);
  EXPECT_EQ(rig.info.keyCapacity, 24);
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_FALSE(rig.transport->streamOpen());
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  EXPECT_EQ(rig.port.waitCursorDepth, 0);
}

TEST(Detection, Bootloader947BecomesKind13AndIsAskedInU) {
  ProtocolRig rig({"947-bootloader"});
  rig.device().SetReply(sim::kCommandVersion, TextBytes("947 Boot v1.10  "));
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.deviceKind, 13);
  EXPECT_TRUE(rig.port.keypadText.starts_with(
      "BOOTLOADER found: Quorvane TDxx/WKxxx (Model 947).\r\n Bootloader Version  : 947 Boot "
      "v1.10  \r\n"));
  const std::vector<sim::RecordedReport> sent = rig.device().outputReports();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front().bytes.size(), 65u);  // 'U' reports
}

TEST(Detection, PrgTModeDeviceShowsModelThenVersions) {
  ProtocolRig rig({"prg-tmode-wk-c"});
  rig.device().SetReply(sim::kCommandVersion, TextBytes("WK-C TMode v2.07"));
  rig.device().SetReply(sim::kCommandBuildDate, TextBytes("20190412"));
  rig.device().SetReply(sim::kCommandBootloaderInstalled, ByteList({'Y'}));
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.port.keypadText,
            "DEVICE found: Quorvane TDxx/WKxxx (PRG/TMode) (Model WK-C)."
            "\r\n TDxx/WKxxx Version  : WK-C TMode v2.07"
            "\r\n Firmware Build Date : 20190412"
            "\r\n Bootloader Installed: Yes");
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
}

TEST(Detection, ClearsStatusAndKeyCapacityFirst) {
  ProtocolRig rig({"td-a"});
  rig.info.statusByte = 0x40;
  rig.info.keyCapacity = 48;
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.info.statusByte, 0);
  EXPECT_EQ(rig.info.keyCapacity, 0);
}

TEST(Detection, FlashDriveModeIsNamedWithTheDrivesMountPoint) {
  ProtocolRig rig({"mouse"});
  rig.drive.mountPoint = "/media/user/TASTERDECK/";
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.port.keypadText, "Tasterdeck found in Flash Drive mode at /media/user/TASTERDECK/");
  EXPECT_EQ(rig.deviceKind, 0);
  EXPECT_EQ(rig.drive.searches, 1);
}

TEST(Detection, DriveIsOnlyLookedForWhenNoDeviceAnswered) {
  for (const std::vector<std::string>& kinds :
       {std::vector<std::string>{"td-b"}, std::vector<std::string>{"td-a", "wk-c"}}) {
    ProtocolRig rig(kinds);
    rig.drive.mountPoint = "/media/user/TASTERDECK/";
    ProtocolContext ctx = rig.Context();
    DetectKeypad(ctx, false);
    EXPECT_EQ(rig.drive.searches, 0);
  }
}

TEST(Detection, UnboundHidLibrarySaysWhy) {
  for (bool keepOpen : {false, true}) {
    ProtocolRig rig({"td-a"});
    rig.simulation->simBinder().FailBinding("libhidapi-hidraw.so.0: cannot open shared object");
    ProtocolContext ctx = rig.Context();
    DetectKeypad(ctx, keepOpen);
    EXPECT_EQ(rig.deviceKind, -1);
    EXPECT_EQ(rig.port.keypadText,
              "***USB HID service unavailable: libhidapi-hidraw.so.0: cannot open shared "
              "object***");
    EXPECT_EQ(rig.drive.searches, 0);
    EXPECT_EQ(rig.port.waitCursorDepth, 0);
  }
}

std::string PermissionLine(int device, int interface) {
  return "\r\nNo permission to open " + sim::SimulatedBus::InterfacePath(device, interface) +
         ". Run tdxxload-cli doctor to see what is missing.";
}

TEST(Detection, InterfaceWithoutPermissionIsNamedWithAHint) {
  ProtocolRig rig({"td-a:no-permission"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.deviceKind, 5);
  EXPECT_EQ(rig.port.keypadText, "KEYPAD found: Quorvane Tasterdeck TD-A." + PermissionLine(0, 0));
  EXPECT_TRUE(rig.port.log.empty());
}

TEST(Detection, EveryInterfaceWithoutPermissionGetsItsLine) {
  ProtocolRig rig({"td-b-kbmouse:interfaces=3:no-permission"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.port.keypadText, "DEVICE found: Quorvane TD-B (KBMouse)" + PermissionLine(0, 0) +
                                     PermissionLine(0, 1) + PermissionLine(0, 2));
}

TEST(Detection, InterfaceWithSeveralCollectionsGetsOneLine) {
  ProtocolRig rig({"td-b-kbmouse:interfaces=2:collections=3:no-permission"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.port.keypadText,
            "DEVICE found: Quorvane TD-B (KBMouse)" + PermissionLine(0, 0) + PermissionLine(0, 1));
}

TEST(Detection, UnboundHidLibraryRepeatsNoEarlierPermissionLine) {
  ProtocolRig rig({"td-a:no-permission"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  rig.simulation->simBinder().FailBinding("libhidapi-hidraw.so.0: cannot open shared object");
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.deviceKind, -1);
  EXPECT_EQ(rig.port.keypadText,
            "***USB HID service unavailable: libhidapi-hidraw.so.0: cannot open shared object***");
}

TEST(Detection, BootloaderWithoutPermissionGetsNoSuffixAndOneHint) {
  ProtocolRig rig({"tds-bootloader:no-permission"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, false);
  EXPECT_EQ(rig.deviceKind, 7);
  EXPECT_EQ(rig.port.keypadText,
            "BOOTLOADER found: Quorvane Tasterdeck TDSxx" + PermissionLine(0, 0));
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  EXPECT_FALSE(rig.transport->hidBound());
}

TEST(Detection, KeepOpenWithoutPermissionFindsNothingAndLogsTheHint) {
  ProtocolRig rig({"td-a:no-permission"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, true);
  EXPECT_EQ(rig.deviceKind, 0);
  EXPECT_EQ(rig.port.keypadText, kNoKeypad + PermissionLine(0, 0));
  EXPECT_EQ(rig.port.log, PermissionLine(0, 0));
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  rig.transport->CloseKeypad();
}

TEST(Detection, KeepOpenHoldsTheKeypadForFeatureReports) {
  ProtocolRig rig({"td-a"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, true);
  EXPECT_EQ(rig.deviceKind, 5);
  EXPECT_EQ(rig.port.keypadText, "KEYPAD found: Quorvane Tasterdeck TD-A.");
  EXPECT_TRUE(rig.transport->hidBound());
  EXPECT_EQ(rig.device().openHandleCount(), 1);
  EXPECT_FALSE(rig.transport->SendFeatureByte(0xE4));
  rig.transport->CloseKeypad();
  EXPECT_EQ(rig.device().openHandleCount(), 0);
}

TEST(Detection, KeepOpenOnABootloaderReadsNoIdentityAndNoVersions) {
  ProtocolRig rig({"tdxx-bootloader"});
  ProtocolContext ctx = rig.Context();
  DetectKeypad(ctx, true);
  EXPECT_EQ(rig.deviceKind, 4);
  EXPECT_EQ(rig.port.keypadText, "BOOTLOADER found: Quorvane TDxx/WKxxx");
  EXPECT_EQ(rig.device().featureReadCount(), 0);
  EXPECT_TRUE(rig.device().outputReports().empty());
  EXPECT_EQ(rig.device().openHandleCount(), 1);
  rig.transport->CloseKeypad();
}

}  // namespace
}  // namespace tdxx
