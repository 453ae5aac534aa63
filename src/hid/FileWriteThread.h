#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "hid/ByteRing.h"
#include "hid/FileThread.h"

namespace tdxx {

// Packs the outgoing queue into output reports: report ID 0, the count, up to 63 ('U') or 7
// ('T') payload bytes, zero fill; one report per pass, each followed by a 10 ms worker sleep.
// Waits without a time limit while the queue is empty.
class TFileWriteThread final : public TFileThread {
 public:
  TFileWriteThread(DeviceLink& link, ReportMode mode, Clock& clock);
  ~TFileWriteThread() override;

  // Appends all bytes when the queue then holds fewer than 1024, else none; wakes the thread
  // either way. True when the bytes were taken.
  bool Enqueue(const std::uint8_t* bytes, std::size_t count);
  std::size_t QueuedCount();
  // True when nothing waits to be sent and no report is on its way to the device (or the
  // thread was asked to stop, which leaves the rest unsent).
  bool Idle();

 private:
  void Execute() override;

  std::mutex queueLock_;
  ByteRing queue_;
  bool sending_ = false;  // a report was taken off the queue and is not written yet
};

}  // namespace tdxx
