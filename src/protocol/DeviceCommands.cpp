#include "protocol/DeviceCommands.h"

#include <cstdint>
#include <initializer_list>

namespace tdxx {
namespace {

constexpr Milliseconds kAfterFeatureByte{100};
constexpr Milliseconds kBeforeClose{100};

// Zero-terminated for SendText.
constexpr char kRequestBootloader[] = {0x40, 0x0B, 0x52, 0x62, 0};
constexpr char kEraseInTMode[] = {static_cast<char>(0xE2), static_cast<char>(0xE4), 0x09, 0};
constexpr char kRestart[] = {0x40, 0x04, 0};

bool SendFeatureCommand(ProtocolContext& ctx, std::initializer_list<std::uint8_t> bytes) {
  bool failed = false;
  for (std::uint8_t byte : bytes) {
    failed = ctx.transport.SendFeatureByte(byte) || failed;
    ctx.port.Pause(kAfterFeatureByte);
  }
  return failed;
}

bool SendStreamCommand(ProtocolContext& ctx, ReportMode mode, const char* text) {
  if (ctx.transport.OpenStream(mode))
    return true;
  ctx.transport.SendText(text);
  ctx.port.Pause(kBeforeClose);
  ctx.transport.CloseStream();
  return ctx.transport.streamWriteFailed();
}

}  // namespace

bool SendEraseSettings(ProtocolContext& ctx) {
  return SendFeatureCommand(ctx, {0xE4, 0x09});
}

bool SendLaunchBootloader(ProtocolContext& ctx) {
  return SendFeatureCommand(ctx, {0xE4, 0x08});
}

bool SendReboot(ProtocolContext& ctx) {
  return SendFeatureCommand(ctx, {0xE5});
}

bool RequestBootloaderTMode(ProtocolContext& ctx) {
  return SendStreamCommand(ctx, ReportMode::T, kRequestBootloader);
}

bool EraseSettingsTMode(ProtocolContext& ctx) {
  return SendStreamCommand(ctx, ReportMode::T, kEraseInTMode);
}

bool RebootBootloader(ProtocolContext& ctx) {
  return SendStreamCommand(ctx, ReportMode::U, kRestart);
}

bool RebootTMode(ProtocolContext& ctx) {
  return SendStreamCommand(ctx, ReportMode::T, kRestart);
}

}  // namespace tdxx
