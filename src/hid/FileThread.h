#pragma once

#include <atomic>
#include <thread>

#include "hid/AutoResetEvent.h"
#include "hid/Clock.h"
#include "hid/DeviceLink.h"
#include "hid/HidTransport.h"

namespace tdxx {

// Base of the two report pump threads of an open stream. The thread runs Execute until Stop;
// the owner joins it (Join) before the device is closed, so no thread outlives the stream.
class TFileThread {
 public:
  TFileThread(DeviceLink& link, ReportMode mode, Clock& clock)
      : link_(link), mode_(mode), clock_(clock) {}
  virtual ~TFileThread() = default;
  TFileThread(const TFileThread&) = delete;
  TFileThread& operator=(const TFileThread&) = delete;

  // Asks the thread to end and wakes it if it waits.
  void Stop();
  // Waits for the thread to end (after Stop).
  void Join();
  bool Terminated() const { return terminated_.load(); }

 protected:
  // Starts the thread; the most derived constructor calls it last.
  void Start();
  // Stop and Join; the most derived destructor calls it first, while its members still live.
  void StopAndJoin();
  virtual void Execute() = 0;

  DeviceLink& link_;
  const ReportMode mode_;
  Clock& clock_;
  // Set by Stop and, in the writer, by every Enqueue.
  AutoResetEvent wakeEvent_;

 private:
  std::atomic<bool> terminated_{false};
  std::thread thread_;
};

}  // namespace tdxx
