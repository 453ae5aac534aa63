#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "hid/ByteRing.h"
#include "hid/FileThread.h"

namespace tdxx {

// Unpacks every input report into the incoming queue: hidapi gives the report without its ID,
// so byte 0 is the count and the payload follows. A count of 0 adds nothing, a count above the
// mode's capacity (63 'U', 7 'T') drops the report, and a payload that does not fit the queue
// is dropped whole. Waits for a report in 50 ms read windows, each one hid_read_timeout.
class TFileReadThread final : public TFileThread {
 public:
  TFileReadThread(HidApi& api, hid_device* device, ReportMode mode, Clock& clock);
  ~TFileReadThread() override;

  std::size_t QueuedCount();
  // The oldest byte, removed; 0 when the queue is empty.
  std::uint8_t Dequeue();

 private:
  void Execute() override;
  void Take(const std::uint8_t* report);

  std::mutex queueLock_;
  ByteRing queue_;
};

}  // namespace tdxx
