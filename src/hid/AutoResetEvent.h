#pragma once

#include <condition_variable>
#include <mutex>

#include "hid/Clock.h"

namespace tdxx {

// An event that releases one wait and then resets itself; a Set before the wait is not lost.
class AutoResetEvent {
 public:
  void Set();
  void Wait();
  // False when the time ran out before the event was set.
  bool WaitFor(Milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable signalled_;
  bool set_ = false;
};

}  // namespace tdxx
