#include "protocol/Detection.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "hid/DeviceKindTable.h"
#include "protocol/KeypadPanel.h"
#include "protocol/ModelSuffix.h"
#include "protocol/VersionQueries.h"

namespace tdxx {
namespace {

constexpr std::string_view kSeveralDevicesText =
    "***Please connect only ONE programmable device at a time!***";
constexpr std::string_view kNoKeypad = "No Tasterdeck found! Please connect your USB keypad.";
constexpr std::string_view kFlashDriveMode = "Tasterdeck found in Flash Drive mode at ";

// Names what FindKeypad found; with no HID device, looks for the keypad's flash drive.
void ShowFoundDevice(ProtocolContext& ctx) {
  if (ctx.deviceKind == kSeveralDevices) {
    // -1 also stands for a HID library that cannot be bound; then say what is wrong with it
    // rather than asking the user to unplug devices.
    const std::string& bindError = ctx.transport.bindError();
    if (bindError.empty()) {
      SetKeypadPanel(ctx.port, kSeveralDevicesText);
    } else {
      SetKeypadPanel(ctx.port, "***USB HID service unavailable: " + bindError + "***");
    }
    return;
  }
  // Kinds that name a device by themselves; 0 and values no row names have no text.
  if (const std::string_view text = FactsOf(ctx.deviceKind).panelText; !text.empty()) {
    SetKeypadPanel(ctx.port, text);
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
  if (FactsOf(ctx.deviceKind).identity == IdentityReport::Bootloader917) {
    AppendToKeypadPanel(ctx.port, Bootloader917Suffix(report));
  } else {
    ctx.deviceInfo.statusByte = report[1];
    const ModelSuffix suffix = BootloaderModelSuffix(report);
    AppendToKeypadPanel(ctx.port, suffix.text);
    if (suffix.model947)
      ctx.deviceKind = k947BootloaderKind;
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

// The identity read, then the version query in the report mode the device speaks; neither for
// kinds without an identity report, no version query when the identity cannot be read.
void AddModelAndVersions(ProtocolContext& ctx) {
  const DeviceKindFacts& device = FactsOf(ctx.deviceKind);
  if (device.identity == IdentityReport::None)
    return;
  const bool read = device.identity == IdentityReport::PrgTMode ? ReadPrgTModeIdentity(ctx)
                                                                : ReadBootloaderIdentity(ctx);
  if (!read)
    return;
  if (device.stream == ReportMode::U)
    QueryBootloaderVersions(ctx);
  else
    QueryDeviceVersions(ctx);
}

}  // namespace

std::string InUseLine(const std::string& path) {
  return "\r\n" + path + " is in use by another program.";
}

std::string NoPermissionLine(const std::string& path) {
  return "\r\nNo permission to open " + path + ". Run tdxxload-cli doctor to see what is missing.";
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
