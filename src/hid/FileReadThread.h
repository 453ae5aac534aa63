#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "hid/ByteRing.h"
#include "hid/FileThread.h"

namespace tdxx {

// Unpacks every input report into the incoming queue: hidapi gives the report without its ID,
// so byte 0 is the count and the payload follows. A count of 0 adds nothing, a count above the
// mode's capacity (63 'U', 7 'T') drops the report, and a payload that does not fit the queue
// is dropped whole. Reads in short slices so that the writer gets the device between them.
class TFileReadThread final : public TFileThread {
 public:
  TFileReadThread(DeviceLink& link, ReportMode mode, Clock& clock);
  ~TFileReadThread() override;

  std::size_t QueuedCount();
  // The oldest byte, removed; 0 when the queue is empty.
  std::uint8_t Dequeue();
  // True while a report that was read is not yet in the queue.
  bool Holding() const { return holding_.load(); }

 private:
  void Execute() override;
  void Take(const std::uint8_t* report);

  std::mutex queueLock_;
  ByteRing queue_;
  std::atomic<bool> holding_{false};
};

}  // namespace tdxx
