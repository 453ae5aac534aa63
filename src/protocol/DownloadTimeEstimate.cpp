#include "protocol/DownloadTimeEstimate.h"

#include <algorithm>

#include "hid/DeviceKindTable.h"
#include "protocol/KeyRecordBytes.h"

namespace tdxx {
namespace {

using namespace std::chrono_literals;

constexpr Milliseconds kReportPause = 10ms;  // after every feature report and stream send
constexpr Milliseconds kReplyWait = 100ms;   // between a stream command and its reply
// A ping: its send, the look at the reply, and one poll that finds the answer.
constexpr Milliseconds kPing = kReportPause + kReplyWait;
constexpr int kTModeBlockBytes = 15;
// The PRG/TMode download pauses after every key byte when exactly this many keys go.
constexpr int kTModePacedKeyCount = 24;

int KeyBytes(const KeyRecord& record) {
  return static_cast<int>(KeyRecordWireBytes(record).size());
}

DownloadTimeEstimate Standard(const KeyTable& keys, int count, const DeviceKindFacts& device) {
  if (device.standardKeyLimit > 0)
    count = std::min(count, device.standardKeyLimit);
  const int blockBytes = device.globalBlock.bytesSent;
  DownloadTimeEstimate estimate;
  estimate.steps.push_back(blockBytes * kReportPause + 100ms);
  for (int j = 0; j < count; ++j) {
    const Milliseconds afterKey = j % 2 == 0 ? 100ms : 10ms;
    estimate.steps.push_back(KeyBytes(keys[static_cast<std::size_t>(j)]) * kReportPause + afterKey);
  }
  // The end byte, then the second the success is shown.
  estimate.finish = kReportPause + 1000ms;
  return estimate;
}

DownloadTimeEstimate OverStream(const KeyTable& keys, int count) {
  DownloadTimeEstimate estimate;
  estimate.overStream = true;
  // Each key byte: its send, and a pause after it when exactly 24 keys go.
  const Milliseconds perKeyByte = count == kTModePacedKeyCount ? 2 * kReportPause : kReportPause;
  // First ping, key-capacity query, prefix, the block bytes each with a pause, the pause after.
  estimate.steps.push_back(kPing + kReportPause + kReplyWait + kReportPause +
                           kTModeBlockBytes * 2 * kReportPause + kReportPause);
  for (int j = 0; j < count; ++j) {
    estimate.steps.push_back(kPing + kReportPause +
                             KeyBytes(keys[static_cast<std::size_t>(j)]) * perKeyByte +
                             kReportPause);
  }
  // Prefix and end byte, the stream's close, the pause after it and the one after the box.
  estimate.finish = 2 * kReportPause + 100ms + 100ms + 100ms;
  return estimate;
}

}  // namespace

Milliseconds DownloadTimeEstimate::Remaining(int completedSteps) const {
  Milliseconds left = finish;
  for (std::size_t i = static_cast<std::size_t>(std::max(completedSteps, 0)); i < steps.size(); ++i)
    left += steps[i];
  return steps.empty() ? Milliseconds(0) : left;
}

DownloadTimeEstimate EstimateKeyDownload(const KeyTable& keys, int keyCount, DeviceKind kind,
                                         std::int32_t method) {
  const int count = std::clamp(keyCount, 0, static_cast<int>(keys.size()));
  if (count == 0 || method == 2)
    return {};
  const DeviceKindFacts& device = FactsOf(kind);
  if (device.keyDownload == KeyDownload::PrgTMode || method == 1)
    return OverStream(keys, count);
  if (device.keyDownload == KeyDownload::Standard)
    return Standard(keys, count, device);
  return {};
}

}  // namespace tdxx
