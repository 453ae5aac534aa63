#pragma once

#include <chrono>

namespace tdxx {

using Milliseconds = std::chrono::milliseconds;

// Every pause of the program goes through this port. The GUI keeps its window painting during a
// pause; tests run on virtual time so that long device conversations finish at once and their
// pauses can be asserted.
class Clock {
 public:
  virtual ~Clock() = default;

  // Pause on the user-interface thread for at least `duration`; never returns early.
  virtual void Pause(Milliseconds duration) = 0;

  // Sleep on a worker thread (the report pump threads pace their reports with it).
  virtual void SleepOnWorker(Milliseconds duration) = 0;

  // Monotonic time since an arbitrary start, for time stamps.
  virtual Milliseconds Now() const = 0;
};

// Real time. The command-line front end uses it as it is; the windowed program's clock keeps
// its time and worker sleeps, but pauses by running the event loop.
class SystemClock : public Clock {
 public:
  void Pause(Milliseconds duration) override;
  void SleepOnWorker(Milliseconds duration) override;
  Milliseconds Now() const override;
};

}  // namespace tdxx
