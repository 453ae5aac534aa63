#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace tdxx {

using Milliseconds = std::chrono::milliseconds;
// Time on a clock (since its arbitrary start) and lengths of time, at the resolution of the
// steady clock. Deadlines are computed in it, never in truncated milliseconds: a report that
// starts at 10.8 ms and is stamped 10 ms would let the next one go out 9.2 ms later.
using ClockDuration = std::chrono::nanoseconds;

// An event that releases one wait and then resets itself; a Set before the wait is not lost.
// Its waits run on the time of the clock that made it.
class ClockEvent {
 public:
  virtual ~ClockEvent() = default;
  virtual void Set() = 0;
  virtual void Wait() = 0;
  // False when the time ran out before the event was set.
  virtual bool WaitFor(ClockDuration timeout) = 0;
};

// A thread started through a clock; Join waits for its body to return.
class ClockThread {
 public:
  virtual ~ClockThread() = default;
  virtual void Join() = 0;
};

// Every pause of the program goes through this port, and so does every wait of a worker thread.
// The GUI keeps its window painting during a pause; tests run on virtual time in which device
// calls and worker sleeps take time too, so that a pause cut short or a report sent too early
// shows in the time stamps the simulated devices record.
class Clock {
 public:
  virtual ~Clock() = default;

  // Pause on the user-interface thread for at least `duration`; never returns early.
  virtual void Pause(ClockDuration duration) = 0;

  // Sleep on a worker thread (the report pump threads pace their reports with it).
  virtual void SleepOnWorker(ClockDuration duration) = 0;

  // Monotonic time since an arbitrary start, for time stamps.
  virtual ClockDuration Now() const = 0;

  // The time a device call itself takes, spent on whichever thread made the call (simulated
  // devices use it; real devices take their own time).
  virtual void Spend(ClockDuration duration);

  // An auto-reset event whose waits run on this clock's time.
  virtual std::unique_ptr<ClockEvent> MakeEvent();

  // Starts a worker thread whose sleeps and waits run on this clock's time.
  virtual std::unique_ptr<ClockThread> StartWorker(std::function<void()> body);
};

// Real time. The command-line front end uses it as it is; the windowed program's clock keeps
// its time and worker sleeps, but pauses by running the event loop.
class SystemClock : public Clock {
 public:
  void Pause(ClockDuration duration) override;
  void SleepOnWorker(ClockDuration duration) override;
  ClockDuration Now() const override;
};

// Sleeps until `duration` has passed on the steady clock (sleep_for may wake early).
void SleepFully(ClockDuration duration);
// Sleeps until the steady clock has reached `deadline`.
void SleepFullyUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace tdxx
