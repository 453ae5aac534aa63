#include "protocol/Detection.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/KeypadPanel.h"
#include "protocol/ModelSuffix.h"
#include "protocol/VersionQueries.h"

namespace tdxx {
namespace {

constexpr std::string_view kSeveralDevices =
    "***Please connect only ONE programmable device at a time!***";
constexpr std::string_view kNoKeypad = "No Tasterdeck found! Please connect your USB keypad.";
constexpr std::string_view kFlashDriveMode = "Tasterdeck found in Flash Drive mode at ";

// The panel text of a device kind that names a device by itself; nothing for 0 and for values
// the identifier table does not give (-1 has its own texts).
std::optional<std::string_view> FoundText(DeviceKind kind) {
  switch (kind) {
    case 1:
      return "KEYPAD found: Quorvane 917 v4.1 to v5.0.";
    case 2:
      return "KEYPAD found: Quorvane 917 v5.1 to v6.0.";
    case 3:
      return "BOOTLOADER found: Quorvane 917 v6";
    case 4:
      return "BOOTLOADER found: Quorvane TDxx/WKxxx";
    case 5:
      return "KEYPAD found: Quorvane Tasterdeck TD-A.";
    case 6:
      return "KEYPAD found: Quorvane Tasterdeck TD-B.";
    case 7:
      return "BOOTLOADER found: Quorvane Tasterdeck TDSxx";
    case 8:
      return "KEYBOARD found: Quorvane WK-C";
    case 9:
      return "DEVICE found: Quorvane TDxx/WKxxx (PRG/TMode)";
    case 10:
      return "DEVICE found: Quorvane TD-A (KBMouse)";
    case 11:
      return "DEVICE found: Quorvane TD-B (KBMouse)";
    case 12:
      return "DEVICE found: Quorvane WK-C (KBMouse)";
    case 14:
      return "DEVICE found: Quorvane Slimkey 947";
    default:
      return std::nullopt;
  }
}

// Names what FindKeypad found; with no HID device, looks for the keypad's flash drive.
void ShowFoundDevice(ProtocolContext& ctx) {
  if (ctx.deviceKind == -1) {
    // -1 also stands for a HID library that cannot be bound; then say what is wrong with it
    // rather than asking the user to unplug devices.
    const std::string& bindError = ctx.transport.bindError();
    if (bindError.empty()) {
      SetKeypadPanel(ctx.port, kSeveralDevices);
    } else {
      SetKeypadPanel(ctx.port, "***USB HID service unavailable: " + bindError + "***");
    }
    return;
  }
  if (const std::optional<std::string_view> text = FoundText(ctx.deviceKind)) {
    SetKeypadPanel(ctx.port, *text);
    return;
  }
  if (ctx.driveLocator.FindKeypadDrive()) {
    SetKeypadPanel(ctx.port, std::string(kFlashDriveMode) + ctx.driveLocator.driveLetter());
  } else {
    SetKeypadPanel(ctx.port, kNoKeypad);
  }
}

// Reads the bootloader's 9-byte identity report and appends the model; true when it was read.
// The feature handle is closed in every case.
bool ReadBootloaderIdentity(ProtocolContext& ctx) {
  ctx.transport.FindKeypad(true);
  std::array<std::uint8_t, 9> report{};
  if (ctx.transport.ReadFeature9(report)) {
    ctx.transport.CloseKeypad();
    return false;
  }
  if (ctx.deviceKind == 3) {
    AppendToKeypadPanel(ctx.port, Bootloader917Suffix(report));
  } else {
    ctx.deviceInfo.statusByte = report[1];
    const ModelSuffix suffix = BootloaderModelSuffix(report);
    AppendToKeypadPanel(ctx.port, suffix.text);
    if (suffix.model947)
      ctx.deviceKind = 13;
  }
  ctx.transport.CloseKeypad();
  return true;
}

// Reads the PRG/TMode device's 6-byte identity report and appends the model.
bool ReadPrgTModeIdentity(ProtocolContext& ctx) {
  ctx.transport.FindKeypad(true);
  std::array<std::uint8_t, 6> report{};
  if (ctx.transport.ReadFeature6(report)) {
    ctx.transport.CloseKeypad();
    return false;
  }
  ctx.deviceInfo.statusByte = report[1];
  AppendToKeypadPanel(ctx.port, PrgTModeModelSuffix(report));
  ctx.transport.CloseKeypad();
  return true;
}

void AddModelAndVersions(ProtocolContext& ctx) {
  switch (ctx.deviceKind) {
    case 3:
    case 4:
    case 7:
      if (ReadBootloaderIdentity(ctx))
        QueryBootloaderVersions(ctx);
      break;
    case 9:
      if (ReadPrgTModeIdentity(ctx))
        QueryDeviceVersions(ctx);
      break;
    default:
      break;
  }
}

}  // namespace

std::string InUseLine(const std::string& path) {
  return "\r\n" + path + " is in use by another program.";
}

std::string NoPermissionLine(const std::string& path) {
  return "\r\nNo permission to open " + path +
         ". Run tdxxload-cli doctor to see what is missing.";
}

void DetectKeypad(ProtocolContext& ctx, bool keepOpen) {
  WaitCursorGuard cursor(ctx.port);
  ctx.deviceKind = 0;
  ctx.deviceInfo.statusByte = 0;
  ctx.deviceInfo.keyCapacity = 0;

  ctx.deviceKind = ctx.transport.FindKeypad(keepOpen);
  // The identity read below runs discovery again; keep what this one could not open.
  const std::vector<std::string> deniedPaths = ctx.transport.permissionDeniedPaths();
  const std::vector<std::string> busyPaths = ctx.transport.busyPaths();
  ShowFoundDevice(ctx);

  if (!keepOpen)
    AddModelAndVersions(ctx);

  std::vector<std::string> lines;
  for (const std::string& path : deniedPaths)
    lines.push_back(NoPermissionLine(path));
  for (const std::string& path : busyPaths)
    lines.push_back(InUseLine(path));
  for (const std::string& line : lines) {
    AppendToKeypadPanel(ctx.port, line);
    // The flows that detect with keepOpen then find no device; the log says why.
    if (keepOpen)
      ctx.port.LogProgress(line);
  }
}

}  // namespace tdxx
