#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "hid/ByteRing.h"
#include "hid/FileThread.h"

namespace tdxx {

// Packs the outgoing queue into output reports: report ID 0, the count, up to 63 ('U') or 7
// ('T') payload bytes, zero fill; one report per pass, a report every 10 ms at most.
// Waits without a time limit while the queue is empty. After Stop it still sends what is
// queued, until the queue is empty, a write fails (the device is gone) or the drain time is up.
class TFileWriteThread final : public TFileThread {
 public:
  // The time the writer has after Stop to send what is still queued: the pause of CloseStream.
  static constexpr Milliseconds kDrainTime{100};

  TFileWriteThread(HidApi& api, hid_device* device, ReportMode mode, Clock& clock);
  ~TFileWriteThread() override;

  // Appends all bytes when the queue then holds fewer than 1024, else none; wakes the thread
  // either way. True when the bytes were taken.
  bool Enqueue(const std::uint8_t* bytes, std::size_t count);
  std::size_t QueuedCount();
  void Stop() override;
  // True once a report could not be written (the device left, or refused it).
  bool writeFailed() const { return writeFailed_.load(); }

 private:
  void Execute() override;
  // Takes the next report's payload off the queue into `report`; 0 when nothing is queued.
  std::size_t TakeReport(std::uint8_t* report);

  std::mutex queueLock_;
  ByteRing queue_;
  // Clock time (ClockDuration ticks) after which a stopped writer sends nothing more.
  std::atomic<long long> drainDeadline_{0};
  std::atomic<bool> writeFailed_{false};
};

}  // namespace tdxx
