#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "hid/Clock.h"

namespace tdxx {
class HidTransport;
}

namespace tdxx::sim {

class SimulatedBus;

// Virtual time for tests. Pause moves time on at once and then waits (real time, bounded by
// the settle limit) until the simulated traffic has settled; it also settles before moving on,
// so that whatever was sent before the pause reaches the device at the time it was sent. With
// a transport and bus watched, "settled" means: the transport's pumps are idle and every input
// report due by the current virtual time has been taken into the incoming queue. A command, a
// 100 ms pause and a look at BytesAvailable therefore always see the same bytes.
// SleepOnWorker only yields. Pauses (not worker sleeps) are recorded.
class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(Milliseconds settleLimit = Milliseconds(2000));
  ~VirtualClock() override;

  void Pause(Milliseconds duration) override;
  void SleepOnWorker(Milliseconds duration) override;
  Milliseconds Now() const override;

  // Moves virtual time on without recording a pause, then settles.
  void Advance(Milliseconds duration);
  // Waits until every settle hook holds; false when the settle limit ran out first.
  bool Settle();

  // Settle hooks: `settled` must become true before Pause returns; `onAdvance` runs after
  // virtual time moved on. Both run on the thread that pauses.
  using HookId = int;
  HookId AddSettleHook(std::function<bool()> settled, std::function<void()> onAdvance = {});
  void RemoveSettleHook(HookId id);
  // The usual hook: a transport over a simulated bus. Keep both alive while the clock pauses
  // (the transport never pauses in its destructor), or remove the hook first.
  HookId Watch(const HidTransport& transport, SimulatedBus& bus);

  // Every Pause so far, in order.
  std::vector<Milliseconds> pauses() const;
  Milliseconds pausedTotal() const;
  void ClearPauses();
  // Settles that ran out of time (a test that expects settled traffic can assert 0).
  int settleTimeouts() const;

 private:
  struct Hook {
    HookId id;
    std::function<bool()> settled;
    std::function<void()> onAdvance;
  };
  bool AllSettled() const;
  void MoveOn(Milliseconds duration);

  const Milliseconds settleLimit_;
  std::atomic<long long> now_{0};
  mutable std::mutex mutex_;
  std::vector<Hook> hooks_;
  HookId nextHook_ = 1;
  std::vector<Milliseconds> pauses_;
  int settleTimeouts_ = 0;
};

// The settle condition of Watch: pumps idle, and while a stream is open, the bus's input taken.
bool TrafficSettled(const HidTransport& transport, const SimulatedBus& bus);

}  // namespace tdxx::sim
