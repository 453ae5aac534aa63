#pragma once

#include <atomic>
#include <memory>

#include "hid/Clock.h"
#include "hid/HidApi.h"
#include "hid/HidTransport.h"

namespace tdxx {

// Base of the two report pump threads of an open stream. Each pump has a device connection of
// its own (hidraw allows several opens of one node, and hidapi keeps its error state per
// connection), so neither waits for the other. The thread runs Execute until Stop; the owner
// joins it (Join) before the connections are closed, so no thread outlives the stream.
class TFileThread {
 public:
  TFileThread(HidApi& api, hid_device* device, ReportMode mode, Clock& clock)
      : api_(api), device_(device), mode_(mode), clock_(clock), wakeEvent_(clock.MakeEvent()) {}
  virtual ~TFileThread() = default;
  TFileThread(const TFileThread&) = delete;
  TFileThread& operator=(const TFileThread&) = delete;

  // Asks the thread to end and wakes it if it waits.
  virtual void Stop();
  // Waits for the thread to end (after Stop).
  void Join();
  bool Terminated() const { return terminated_.load(); }
  // True once Execute has returned (Join then returns at once).
  bool Finished() const { return finished_.load(); }

 protected:
  // Starts the thread; the most derived constructor calls it last.
  void Start();
  // Stop and Join; the most derived destructor calls it first, while its members still live.
  void StopAndJoin();
  virtual void Execute() = 0;

  HidApi& api_;
  hid_device* const device_;
  const ReportMode mode_;
  Clock& clock_;
  // Set by Stop and, in the writer, by every Enqueue.
  const std::unique_ptr<ClockEvent> wakeEvent_;

 private:
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::unique_ptr<ClockThread> thread_;
};

}  // namespace tdxx
