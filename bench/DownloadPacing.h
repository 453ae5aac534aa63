#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "app/AppEnvironment.h"
#include "files/FirmwareImage.h"
#include "files/KeyTable.h"
#include "hid/Clock.h"
#include "protocol/KeypadDriveLocator.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::bench {

// What one download put on the wire, as the simulated device recorded it, and how it compares
// with the pauses the protocol mandates between its first and its last write.
struct PacingResult {
  std::string name;
  int writes = 0;
  ClockDuration measured{0};     // first write to last write
  ClockDuration deviceCalls{0};  // time spent inside device calls on the pausing thread
  ClockDuration mandated{0};     // the protocol's pauses over the same span
  // The least time from one output report's start to the next one's, or from one feature
  // report call's return to the next one's start (goal: at least 10.0 ms).
  ClockDuration leastGap{0};
  double ratioGoal = 1.01;  // the goal for Ratio()
  double cpuPercent = 0;    // processor time per second of download
  bool ok = false;          // the download succeeded

  double Ratio() const;
};

// A key download measured: the example file, the simulated device that takes it and how.
struct KeyDownloadCase {
  const char* name;
  const char* device;
  const char* file;
  std::int32_t method;
  int keys;  // keys the device takes
  bool overStream;
};

// No keypad drive on the benchmark's machine, whatever is plugged in.
// The folders of a benchmark run, all below `folder`, so that no settings of the machine's user
// are read or written.
AppEnvironment BenchEnvironment(const std::string& folder);

class NoDrive final : public KeypadDriveLocator {
 public:
  bool FindKeypadDrive() override { return false; }
  const std::string& driveLetter() const override { return none_; }

 private:
  std::string none_;
};

// The mandated pauses between the first and the last feature report of a standard download of
// `count` keys: 10 ms after every report but the last, 100 ms after the global block, 100 ms
// after even and 10 ms after odd keys.
Milliseconds StandardSpanPauses(const KeyTable& keys, int count, int blockBytes);

// The same for a PRG/TMode download, from the first ping to the end byte: each send's 10 ms,
// 100 ms after each ping and the capacity query, 10 ms more after each block byte (and after
// each key byte when exactly 24 keys go), 10 ms after the block and after each key.
Milliseconds TModeSpanPauses(const KeyTable& keys, int count);

// The same for a firmware upgrade of `image`, from the erase command to the restart command:
// the erase's send and its 1000 ms, the 100 or 10 ms before each block, for each written block
// the chunks' sends, 100 ms for the answer, the read-back's sends and pauses, the burn's 110 ms
// and the verify's 20 ms, and the 1000 ms before the restart.
Milliseconds FirmwareSpanPauses(const FirmwareImage& image);

// Fills the timing of `result` from the device's recorded reports.
void MeasureWrites(const std::vector<sim::RecordedReport>& writes, ClockDuration callTime,
                   bool callsOnPausingThread, PacingResult& result);

// Fills the timing of `result` for a key download of `c` that `device` received, with `keys`
// the table that was sent. Over the stream, detection's version queries come before the
// download, which starts with its first ping (0x40 0x08).
void MeasureKeyDownload(const KeyDownloadCase& c, const sim::SimulatedDevice& device,
                        const KeyTable& keys, PacingResult& result);

// Processor time of this process so far, in seconds.
double CpuSeconds();

void Print(const PacingResult& result);

}  // namespace tdxx::bench
