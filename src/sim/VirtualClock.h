#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "hid/Clock.h"

namespace tdxx::sim {

// Virtual time for tests, at the real clock's resolution, kept honest: time moves only while the
// thread that drives the test (the one that pauses) waits, and only when every worker thread
// started through the clock waits too; it then jumps to the earliest time anybody waits for. Worker
// sleeps, event waits with a time-out and the time simulated device calls take (Spend) all run on
// it, so a report sent 10 ms after the one before carries a time stamp 10 ms later, and a worker
// that is due at the very end of a pause runs before the pause returns. Waits that nothing can end
// (no worker due, nobody running) give up after a real-time limit; a test that expects none asserts
// stalls() == 0.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(std::chrono::milliseconds stallLimit = std::chrono::milliseconds(10000));
  ~VirtualClock() override;

  void Pause(ClockDuration duration) override;
  void SleepOnWorker(ClockDuration duration) override;
  ClockDuration Now() const override;
  void Spend(ClockDuration duration) override;
  std::unique_ptr<ClockEvent> MakeEvent() override;
  std::unique_ptr<ClockThread> StartWorker(std::function<void()> body) override;

  // Moves virtual time on without recording a pause.
  void Advance(ClockDuration duration);

  // Every Pause so far, in order.
  std::vector<ClockDuration> pauses() const;
  ClockDuration pausedTotal() const;
  void ClearPauses();
  // Waits that ran into the real-time limit.
  int stalls() const;

 private:
  class Event;
  class Worker;
  struct Waiter;
  friend class Event;
  friend class Worker;

  static constexpr long long kForever = -1;

  bool OnWorkerThread() const;
  // The driving thread waits: time moves on until `target`, or until `done` holds.
  void Drive(long long target, const std::function<bool()>& done,
             std::unique_lock<std::mutex>& lock);
  // A worker waits until `woken` or its deadline (kForever: none).
  void Block(Waiter& waiter, std::unique_lock<std::mutex>& lock);
  // Waits in real time until no worker runs; false after the stall limit.
  bool WaitForQuiet(std::unique_lock<std::mutex>& lock, const std::function<bool()>& done);
  void Wake(Waiter& waiter);

  const std::chrono::milliseconds stallLimit_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  // Nanoseconds, the resolution of the real clock: a device call of 0.3 ms moves the time on
  // by exactly that, so a report sent less than 10.0 ms after the one before shows.
  long long now_ = 0;
  // Workers started through the clock that are not waiting on it.
  int running_ = 0;
  std::vector<Waiter*> waiting_;
  std::vector<ClockDuration> pauses_;
  int stalls_ = 0;
};

}  // namespace tdxx::sim
