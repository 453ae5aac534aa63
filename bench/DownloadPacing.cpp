#include "DownloadPacing.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "protocol/KeyRecordBytes.h"

namespace tdxx::bench {

using namespace std::chrono_literals;

AppEnvironment BenchEnvironment(const std::string& folder) {
  AppEnvironment environment;
  environment.programFolder = folder + "/program/";
  environment.systemConfigFolder = folder + "/etc/";
  environment.userDocumentsFolder = folder + "/documents";
  return environment;
}

double PacingResult::Ratio() const {
  if (mandated.count() == 0)
    return 0;
  return static_cast<double>((measured - deviceCalls).count()) /
         static_cast<double>(mandated.count());
}

Milliseconds StandardSpanPauses(const KeyTable& keys, int count, int blockBytes) {
  int reports = blockBytes + 1;  // the block and the end byte
  Milliseconds afterKeys{0};
  for (int j = 0; j < count; ++j) {
    reports += static_cast<int>(KeyRecordWireBytes(keys[static_cast<std::size_t>(j)]).size());
    afterKeys += j % 2 == 0 ? 100ms : 10ms;
  }
  return (reports - 1) * 10ms + 100ms + afterKeys;
}

Milliseconds TModeSpanPauses(const KeyTable& keys, int count) {
  const Milliseconds ping = 10ms + 100ms;
  const Milliseconds perKeyByte = count == 24 ? 20ms : 10ms;
  // First ping, capacity query, prefix, 15 block bytes with a pause each, the pause after.
  Milliseconds total = ping + (10ms + 100ms) + 10ms + 15 * 20ms + 10ms;
  for (int j = 0; j < count; ++j) {
    const auto bytes =
        static_cast<int>(KeyRecordWireBytes(keys[static_cast<std::size_t>(j)]).size());
    total += ping + 10ms + bytes * perKeyByte + 10ms;
  }
  return total + 10ms;  // the prefix before the end byte
}

Milliseconds FirmwareSpanPauses(const FirmwareImage& image) {
  Milliseconds total = 10ms + 1000ms;  // the erase
  for (std::uint32_t address = 8192; address < image.imageLength; address += 512) {
    total += (address / 512) % 2 == 1 ? 10ms : 100ms;
    bool blank = true;
    for (std::uint32_t i = 0; i < 512 && address + i < image.image.size(); ++i)
      blank = blank && image.image[address + i] == 0xFF;
    if (!blank)
      total += 16 * 20ms + 100ms + 16 * 20ms + 110ms + 20ms;
  }
  return total + 1000ms;
}

void MeasureWrites(const std::vector<sim::RecordedReport>& writes, ClockDuration callTime,
                   bool callsOnPausingThread, PacingResult& result) {
  result.writes = static_cast<int>(writes.size());
  if (writes.size() < 2)
    return;
  result.measured = writes.back().time - writes.front().time;
  // A feature report blocks the thread that then pauses; a stream write runs on the writer
  // thread, beside the pauses.
  result.deviceCalls =
      callsOnPausingThread ? static_cast<int>(writes.size() - 1) * callTime : ClockDuration(0);
  // Feature reports count from the return of the call before, output reports from its start.
  result.leastGap = ClockDuration::max();
  for (std::size_t i = 1; i < writes.size(); ++i) {
    const ClockDuration previous = callsOnPausingThread ? writes[i - 1].ended : writes[i - 1].time;
    result.leastGap = std::min(result.leastGap, writes[i].time - previous);
  }
}

void MeasureKeyDownload(const KeyDownloadCase& c, const sim::SimulatedDevice& device,
                        const KeyTable& keys, PacingResult& result) {
  const sim::DeviceConfig config = device.config();
  if (c.overStream) {
    auto reports = device.outputReports();
    const auto ping = std::find_if(reports.begin(), reports.end(), [](const auto& report) {
      return report.bytes.size() > 3 && report.bytes[2] == 0x40 && report.bytes[3] == 0x08;
    });
    reports.erase(reports.begin(), ping);
    MeasureWrites(reports, config.writeTime, false, result);
    result.mandated = TModeSpanPauses(keys, c.keys);
  } else {
    MeasureWrites(device.featureReports(), config.featureTime, true, result);
    result.mandated = StandardSpanPauses(keys, c.keys, 15);
    result.ratioGoal = 1.02;
  }
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

namespace {
double ToMs(ClockDuration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}
}  // namespace

void Print(const PacingResult& r) {
  std::printf(
      "%-28s %s  writes %4d  measured %9.3f ms  device calls %8.3f ms  mandated %6.0f ms  "
      "ratio %.4f (goal <= %.2f)  least gap %.3f ms (goal >= 10.0)  CPU %.2f%% of a core "
      "(goal < 2%%)\n",
      r.name.c_str(), r.ok ? "ok    " : "FAILED", r.writes, ToMs(r.measured), ToMs(r.deviceCalls),
      ToMs(r.mandated), r.Ratio(), r.ratioGoal, ToMs(r.leastGap), r.cpuPercent);
}

}  // namespace tdxx::bench
