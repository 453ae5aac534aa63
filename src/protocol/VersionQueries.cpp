#include "protocol/VersionQueries.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/KeypadPanel.h"

namespace tdxx {
namespace {

// One look at the incoming queue, this long after each command; no retry.
constexpr Milliseconds kReplyWait{100};

// Commands, each '@' and a code, zero-terminated for SendText.
constexpr char kAskVersion[] = {0x40, 0x06, 0};
constexpr char kAskKeypadVersion[] = {0x40, 0x19, 0};
constexpr char kAskFlashDriveVersion[] = {0x40, 0x1B, 0};
constexpr char kAskKeyCapacity[] = {0x40, 0x1D, 0};
constexpr char kAskBuildDate[] = {0x40, 0x03, 0};
constexpr char kAskBootloaderInstalled[] = {0x40, 0x0C, 0};

// Status bytes from this value on mean the bootloader answers the key-capacity query.
constexpr std::uint8_t kFirstStatusWithKeyCapacity = 18;

enum class Filter { AsReceived, Printable };

void Ask(ProtocolContext& ctx, const char* command) {
  ctx.transport.SendText(command);
  ctx.port.Pause(kReplyWait);
}

bool Waiting(ProtocolContext& ctx, int count) {
  return ctx.transport.BytesAvailable() >= count;
}

// Reads `length` reply bytes into the start of `field`; the field's last byte stays 0.
template <std::size_t N>
void ReadReply(ProtocolContext& ctx, std::array<char, N>& field, std::size_t length,
               Filter filter) {
  static_assert(N >= 2);
  for (std::size_t i = 0; i < length && i + 1 < N; ++i) {
    std::uint8_t byte = ctx.transport.ReadByte();
    if (filter == Filter::Printable && (byte < 0x20 || byte > 0x7F))
      byte = ' ';
    field[i] = static_cast<char>(byte);
  }
}

template <std::size_t N>
void AppendLine(ProtocolContext& ctx, std::string_view label, const std::array<char, N>& field) {
  AppendToKeypadPanel(ctx.port, std::string(label) + FieldText(field));
}

}  // namespace

void QueryBootloaderVersions(ProtocolContext& ctx) {
  DeviceInfo& info = ctx.deviceInfo;
  info.bootloaderVersion = {};
  info.keypadVersion = {};
  info.flashDriveVersion = {};
  if (ctx.transport.OpenStream(ReportMode::U))
    return;

  Ask(ctx, kAskVersion);
  if (Waiting(ctx, 16)) {
    ReadReply(ctx, info.bootloaderVersion, 16, Filter::AsReceived);
    AppendLine(ctx, "\r\n Bootloader Version  : ", info.bootloaderVersion);
  }

  Ask(ctx, kAskKeypadVersion);
  if (Waiting(ctx, 16)) {
    ReadReply(ctx, info.keypadVersion, 16, Filter::Printable);
    AppendLine(ctx, "\r\n Keypad Version      : ", info.keypadVersion);
  }

  Ask(ctx, kAskFlashDriveVersion);
  if (Waiting(ctx, 16)) {
    ReadReply(ctx, info.flashDriveVersion, 16, Filter::Printable);
    AppendLine(ctx, "\r\n Flash Drive Version : ", info.flashDriveVersion);
  } else if (ctx.transport.BytesAvailable() == 1) {
    // A bootloader without a flash drive answers with one byte; it is not a version.
    ctx.transport.ReadByte();
  }

  if (info.statusByte >= kFirstStatusWithKeyCapacity) {
    Ask(ctx, kAskKeyCapacity);
    if (ctx.transport.BytesAvailable() == 1)
      info.keyCapacity = ctx.transport.ReadByte();
  }

  ctx.transport.CloseStream();
}

void QueryDeviceVersions(ProtocolContext& ctx) {
  DeviceInfo& info = ctx.deviceInfo;
  info.deviceVersion = {};
  info.buildDate = {};
  info.bootloaderInstalled = {};
  if (ctx.transport.OpenStream(ReportMode::T))
    return;

  Ask(ctx, kAskVersion);
  if (Waiting(ctx, 16)) {
    ReadReply(ctx, info.deviceVersion, 16, Filter::AsReceived);
    AppendLine(ctx, "\r\n TDxx/WKxxx Version  : ", info.deviceVersion);
  }

  Ask(ctx, kAskBuildDate);
  if (Waiting(ctx, 8)) {
    ReadReply(ctx, info.buildDate, 8, Filter::AsReceived);
    AppendLine(ctx, "\r\n Firmware Build Date : ", info.buildDate);
  }

  Ask(ctx, kAskBootloaderInstalled);
  if (Waiting(ctx, 1)) {
    ReadReply(ctx, info.bootloaderInstalled, 1, Filter::AsReceived);
    AppendToKeypadPanel(ctx.port, info.bootloaderInstalled[0] == 'Y'
                                      ? "\r\n Bootloader Installed: Yes"
                                      : "\r\n Bootloader Installed: No");
  }

  ctx.transport.CloseStream();
}

}  // namespace tdxx
