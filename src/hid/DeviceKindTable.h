#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "hid/DeviceKind.h"
#include "hid/ReportMode.h"

namespace tdxx {

// Everything the loader knows about a device kind, one row per kind. Discovery, detection, the
// Download command and its flows, Erase, Reboot, Launch Bootloader, the dry run and doctor ask
// this table instead of testing kind numbers; a new kind is one new row.

// The kinds that some code must name by themselves.
inline constexpr DeviceKind kSeveralDevices = -1;  // several kinds attached, or no HID library
inline constexpr DeviceKind kNoDevice = 0;
inline constexpr DeviceKind k917BootloaderKind = 3;
inline constexpr DeviceKind kTdxxBootloaderKind = 4;  // the one a keypad's launch should reach
inline constexpr DeviceKind kTdsBootloaderKind = 7;
inline constexpr DeviceKind kPrgTModeKind = 9;
inline constexpr DeviceKind k947BootloaderKind = 13;  // given by detection, never by discovery
inline constexpr DeviceKind kSlimkey947Kind = 14;

// What state the device is in, as far as commands are concerned.
enum class DeviceGroup : std::uint8_t {
  NoDevice,        // 0, and any value no row names
  SeveralDevices,  // -1
  Old917Keypad,    // the 917 keypads in normal operation
  Keypad,          // TD-A, TD-B, WK-C in normal operation (also KBMouse): feature-report commands
  PrgTMode,        // a device switched to PRG/TMode: commands over the 'T' report stream
  Bootloader,      // firmware over the 'U' report stream
  Slimkey,         // the Slimkey 947 keypad: nothing can be sent to it
};

// The identity feature report detection reads to add the model, before the version query.
enum class IdentityReport : std::uint8_t {
  None,
  Bootloader917,  // 9 bytes; ".00." when it ends in the 917's digits
  Bootloader,     // 9 bytes naming the model; the 947's makes the kind 13
  PrgTMode,       // 6 bytes naming the model
};

// What Download does with a CKD file when the standard or the PRG/TMode method is chosen.
enum class KeyDownload : std::uint8_t {
  Refused,   // a box says why (in the bootloader, or no device)
  Standard,  // feature reports, one byte each
  PrgTMode,  // over the 'T' report stream, also when the standard method is chosen
  Silent,    // no flow, no box, no log line (the older 917 firmware)
};

// The first thing the firmware flow does with a freshly detected device.
enum class FirmwareStep : std::uint8_t {
  None,                // nothing; the keypad panel tells what detection found
  Unsupported,         // a box: this device takes no firmware
  SwitchToBootloader,  // asks, then launches the bootloader (by the kind's launch action)
  Write,               // writes the image when its length is the bootloader's own
};

enum class EraseAction : std::uint8_t {
  None,             // no box (the kinds the command itself answers: none, several)
  FeatureReports,   // re-detect, 0xE4 0x09
  PrgTModeStream,   // 0xE2 0xE4 0x09 on the 'T' stream
  Unsupported917,   // the 91x erase refusal
  InBootloader,     // the bootloader refusal
  NotProgrammable,  // the Slimkey refusal
};

enum class RebootAction : std::uint8_t {
  None,
  FeatureReports,             // re-detect, 0xE5
  PrgTModeStream,             // the restart 0x40 0x04 on the 'T' stream
  BootloaderStream,           // the restart 0x40 0x04 on the 'U' stream
  UnsupportedFirmware41To50,  // "91x v4.1 through v5.0" refusal
  UnsupportedFirmware51To60,  // "91x v5.1 through v6.0" refusal
  NotProgrammable,            // the Slimkey refusal
};

enum class LaunchAction : std::uint8_t {
  None,
  FeatureReports,  // re-detect, 0xE4 0x08, wait for the bootloader
  PrgTModeStream,  // the 'T' request, wait for the bootloader
  AlreadyActive,   // "Bootloader already active!"
  Unsupported,     // "Your device does not support this command."
  ManualOnly,      // the Slimkey's bootloader is started by hand
};

// What the standard download sends of the global block, and the parameter count it writes.
struct GlobalBlockRow {
  std::uint8_t parameterCount = 0;
  std::uint8_t bytesSent = 0;  // 0: the kind takes no global block
};

inline constexpr GlobalBlockRow k917GlobalBlock{10, 13};
inline constexpr GlobalBlockRow kTasterdeckGlobalBlock{12, 15};

inline constexpr std::uint32_t kShortFirmwareImage = 64000;
inline constexpr std::uint32_t kLongFirmwareImage = 64448;

struct DeviceKindFacts {
  DeviceKind kind = kNoDevice;
  // The HID identifiers discovery classifies by; both 0 for kinds discovery never gives.
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  // Short name for the command line, doctor and the udev rule's comments.
  std::string_view name{};
  // The model a person knows the device by, as a question names it; empty: the name.
  std::string_view model{};
  // The keypad panel's text after detection; empty where detection writes its own.
  std::string_view panelText{};
  DeviceGroup group = DeviceGroup::NoDevice;
  IdentityReport identity = IdentityReport::None;
  // The report stream the device speaks (version queries, stream commands).
  std::optional<ReportMode> stream{};
  KeyDownload keyDownload = KeyDownload::Refused;
  // The most keys the standard download sends; 0: every key of the file.
  int standardKeyLimit = 0;
  GlobalBlockRow globalBlock{};
  FirmwareStep firmware = FirmwareStep::None;
  // The one image length the bootloader takes (Write kinds only).
  std::uint32_t firmwareImageLength = 0;
  EraseAction erase = EraseAction::None;
  RebootAction reboot = RebootAction::None;
  LaunchAction launch = LaunchAction::None;
  // Open File starts on the firmware filter.
  bool opensOnFirmwareFilter = false;
};

inline constexpr std::uint16_t kQuorvaneVendor = 0x1125;

// A TD-A, TD-B or WK-C in normal operation, also in its KBMouse personality: the standard
// download, commands as feature reports, switched to its bootloader by them.
constexpr DeviceKindFacts NormalKeypad(DeviceKind kind, std::uint16_t productId,
                                       std::string_view name, std::string_view model,
                                       std::string_view panelText, int standardKeyLimit = 0) {
  return {.kind = kind,
          .vendorId = kQuorvaneVendor,
          .productId = productId,
          .name = name,
          .model = model,
          .panelText = panelText,
          .group = DeviceGroup::Keypad,
          .keyDownload = KeyDownload::Standard,
          .standardKeyLimit = standardKeyLimit,
          .globalBlock = kTasterdeckGlobalBlock,
          .firmware = FirmwareStep::SwitchToBootloader,
          .erase = EraseAction::FeatureReports,
          .reboot = RebootAction::FeatureReports,
          .launch = LaunchAction::FeatureReports};
}

// A bootloader: it names its model in a 9-byte identity report, takes the image of its own
// length over the 'U' stream and the restart command, and refuses the erase.
constexpr DeviceKindFacts Bootloader(DeviceKind kind, std::uint16_t productId,
                                     std::string_view name, std::string_view panelText,
                                     IdentityReport identity, std::uint32_t imageLength,
                                     bool opensOnFirmwareFilter) {
  return {.kind = kind,
          .vendorId = kQuorvaneVendor,
          .productId = productId,
          .name = name,
          .panelText = panelText,
          .group = DeviceGroup::Bootloader,
          .identity = identity,
          .stream = ReportMode::U,
          .firmware = FirmwareStep::Write,
          .firmwareImageLength = imageLength,
          .erase = EraseAction::InBootloader,
          .reboot = RebootAction::BootloaderStream,
          .launch = LaunchAction::AlreadyActive,
          .opensOnFirmwareFilter = opensOnFirmwareFilter};
}

inline constexpr std::array<DeviceKindFacts, 16> kDeviceKindTable{{
    {.kind = kSeveralDevices, .name = "several devices", .group = DeviceGroup::SeveralDevices},
    {.kind = kNoDevice, .name = "no device", .group = DeviceGroup::NoDevice},
    {.kind = 1,
     .vendorId = 0x04B4,
     .productId = 0x0A0A,
     .name = "917 keypad (firmware 4.1 to 5.0)",
     .panelText = "KEYPAD found: Quorvane 917 v4.1 to v5.0.",
     .group = DeviceGroup::Old917Keypad,
     .keyDownload = KeyDownload::Silent,
     .globalBlock = k917GlobalBlock,
     .firmware = FirmwareStep::Unsupported,
     .erase = EraseAction::Unsupported917,
     .reboot = RebootAction::UnsupportedFirmware41To50,
     .launch = LaunchAction::Unsupported},
    {.kind = 2,
     .vendorId = 0x16C0,
     .productId = 0x0607,
     .name = "917 keypad (firmware 5.1 to 6.0)",
     .panelText = "KEYPAD found: Quorvane 917 v5.1 to v6.0.",
     .group = DeviceGroup::Old917Keypad,
     .keyDownload = KeyDownload::Standard,
     .standardKeyLimit = 24,
     .globalBlock = k917GlobalBlock,
     .firmware = FirmwareStep::SwitchToBootloader,
     .erase = EraseAction::Unsupported917,
     .reboot = RebootAction::UnsupportedFirmware51To60,
     // Its launch re-detects and halts: it takes no feature commands.
     .launch = LaunchAction::FeatureReports},
    Bootloader(k917BootloaderKind, 0x1804, "917 bootloader", "BOOTLOADER found: Quorvane 917 v6",
               IdentityReport::Bootloader917, kShortFirmwareImage, /*opensOnFirmwareFilter=*/true),
    Bootloader(kTdxxBootloaderKind, 0x1806, "TDxx/WKxxx bootloader",
               "BOOTLOADER found: Quorvane TDxx/WKxxx", IdentityReport::Bootloader,
               kShortFirmwareImage, /*opensOnFirmwareFilter=*/true),
    NormalKeypad(5, 0x1807, "TD-A keypad", "TD-A", "KEYPAD found: Quorvane Tasterdeck TD-A.", 24),
    NormalKeypad(6, 0x1808, "TD-B keypad", "TD-B", "KEYPAD found: Quorvane Tasterdeck TD-B."),
    // It takes the same restart command as the other bootloaders.
    Bootloader(kTdsBootloaderKind, 0x1809, "TDSxx bootloader",
               "BOOTLOADER found: Quorvane Tasterdeck TDSxx", IdentityReport::Bootloader,
               kShortFirmwareImage, /*opensOnFirmwareFilter=*/false),
    NormalKeypad(8, 0x180B, "WK-C keyboard", "WK-C", "KEYBOARD found: Quorvane WK-C"),
    {.kind = kPrgTModeKind,
     .vendorId = kQuorvaneVendor,
     .productId = 0x180C,
     .name = "TDxx/WKxxx device in PRG/TMode",
     .model = "keypad in PRG/TMode",
     .panelText = "DEVICE found: Quorvane TDxx/WKxxx (PRG/TMode)",
     .group = DeviceGroup::PrgTMode,
     .identity = IdentityReport::PrgTMode,
     .stream = ReportMode::T,
     .keyDownload = KeyDownload::PrgTMode,
     .firmware = FirmwareStep::SwitchToBootloader,
     .erase = EraseAction::PrgTModeStream,
     .reboot = RebootAction::PrgTModeStream,
     .launch = LaunchAction::PrgTModeStream},
    NormalKeypad(10, 0x180D, "TD-A keypad (KBMouse)", "TD-A",
                 "DEVICE found: Quorvane TD-A (KBMouse)", 24),
    NormalKeypad(11, 0x180E, "TD-B keypad (KBMouse)", "TD-B",
                 "DEVICE found: Quorvane TD-B (KBMouse)"),
    NormalKeypad(12, 0x180F, "WK-C keyboard (KBMouse)", "WK-C",
                 "DEVICE found: Quorvane WK-C (KBMouse)"),
    // A kind 4 or 7 bootloader whose identity report names the 947; the panel keeps the text
    // of the kind it was found as.
    {.kind = k947BootloaderKind,
     .name = "947 bootloader",
     .group = DeviceGroup::Bootloader,
     .stream = ReportMode::U,
     .firmware = FirmwareStep::Write,
     .firmwareImageLength = kLongFirmwareImage,
     .erase = EraseAction::InBootloader,
     .reboot = RebootAction::BootloaderStream,
     .launch = LaunchAction::AlreadyActive,
     .opensOnFirmwareFilter = true},
    {.kind = kSlimkey947Kind,
     .vendorId = kQuorvaneVendor,
     .productId = 0x1813,
     .name = "Slimkey 947",
     .panelText = "DEVICE found: Quorvane Slimkey 947",
     .group = DeviceGroup::Slimkey,
     .erase = EraseAction::NotProgrammable,
     .reboot = RebootAction::NotProgrammable,
     .launch = LaunchAction::ManualOnly},
}};

// The row of `kind`; a value no row names gets the row of "no device".
constexpr const DeviceKindFacts& FactsOf(DeviceKind kind) {
  for (const DeviceKindFacts& row : kDeviceKindTable) {
    if (row.kind == kind)
      return row;
  }
  return kDeviceKindTable[1];
}

// No kind has two rows, no identifier pair names two kinds.
constexpr bool RowsAreUnique() {
  for (std::size_t i = 0; i < kDeviceKindTable.size(); ++i) {
    for (std::size_t j = i + 1; j < kDeviceKindTable.size(); ++j) {
      const DeviceKindFacts& a = kDeviceKindTable[i];
      const DeviceKindFacts& b = kDeviceKindTable[j];
      if (a.kind == b.kind ||
          (a.vendorId != 0 && a.vendorId == b.vendorId && a.productId == b.productId))
        return false;
    }
  }
  return true;
}
static_assert(RowsAreUnique());
static_assert(kDeviceKindTable[1].kind == kNoDevice);

}  // namespace tdxx
