#include <array>

#include "hid/HidTransport.h"
#include "hid/HidTransportState.h"

namespace tdxx {

namespace {

constexpr Milliseconds kPauseAfterFeatureByte{10};

// Reads one feature report of N bytes (report ID 0 asked for in byte 0); `out` is only
// written when the read succeeds.
template <std::size_t N>
bool ReadFeature(HidApi* api, hid_device* device, std::array<std::uint8_t, N>& out) {
  if (api == nullptr || device == nullptr)
    return true;
  std::array<std::uint8_t, N> buffer{};
  const int got = api->get_feature_report(device, buffer.data(), N);
  if (got < 0)
    return true;
  out = buffer;
  return false;
}

}  // namespace

bool HidTransport::SendFeatureByte(std::uint8_t data) {
  State& s = *state_;
  const std::array<std::uint8_t, 6> report{0x00, 0x01, data, 0x00, 0x00, 0x00};
  bool failed = true;
  if (s.api && s.featureDevice != nullptr)
    failed = s.api->send_feature_report(s.featureDevice, report.data(), report.size()) < 0;
  // The only pacing of a feature download: the device gets at least 10 ms per byte.
  s.clock.Pause(kPauseAfterFeatureByte);
  return failed;
}

bool HidTransport::ReadFeature9(std::array<std::uint8_t, 9>& out) {
  return ReadFeature(state_->api.get(), state_->featureDevice, out);
}

bool HidTransport::ReadFeature6(std::array<std::uint8_t, 6>& out) {
  return ReadFeature(state_->api.get(), state_->featureDevice, out);
}

}  // namespace tdxx
