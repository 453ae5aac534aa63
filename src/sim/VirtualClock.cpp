#include "sim/VirtualClock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "hid/HidTransport.h"
#include "sim/SimulatedBus.h"

namespace tdxx::sim {

namespace {
constexpr auto kSettlePoll = std::chrono::microseconds(200);
}

VirtualClock::VirtualClock(Milliseconds settleLimit) : settleLimit_(settleLimit) {}

VirtualClock::~VirtualClock() = default;

void VirtualClock::Pause(Milliseconds duration) {
  {
    std::lock_guard lock(mutex_);
    pauses_.push_back(duration);
  }
  // What was sent before the pause reaches the devices at the time it was sent...
  Settle();
  // ...and their answers that fall due meanwhile are read before the pause ends.
  MoveOn(duration);
  Settle();
}

void VirtualClock::SleepOnWorker(Milliseconds) {
  std::this_thread::yield();
}

Milliseconds VirtualClock::Now() const {
  return Milliseconds(now_.load());
}

void VirtualClock::Advance(Milliseconds duration) {
  MoveOn(duration);
  Settle();
}

void VirtualClock::MoveOn(Milliseconds duration) {
  now_.fetch_add(std::max<long long>(duration.count(), 0));
  std::vector<std::function<void()>> wakers;
  {
    std::lock_guard lock(mutex_);
    for (const Hook& hook : hooks_) {
      if (hook.onAdvance)
        wakers.push_back(hook.onAdvance);
    }
  }
  for (const auto& wake : wakers)
    wake();
}

bool VirtualClock::AllSettled() const {
  std::vector<std::function<bool()>> checks;
  {
    std::lock_guard lock(mutex_);
    for (const Hook& hook : hooks_)
      checks.push_back(hook.settled);
  }
  return std::all_of(checks.begin(), checks.end(), [](const auto& settled) { return settled(); });
}

bool VirtualClock::Settle() {
  const auto deadline = std::chrono::steady_clock::now() + settleLimit_;
  while (!AllSettled()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      std::lock_guard lock(mutex_);
      ++settleTimeouts_;
      return false;
    }
    std::this_thread::sleep_for(kSettlePoll);
  }
  return true;
}

VirtualClock::HookId VirtualClock::AddSettleHook(std::function<bool()> settled,
                                                 std::function<void()> onAdvance) {
  std::lock_guard lock(mutex_);
  const HookId id = nextHook_++;
  if (!settled)
    settled = [] { return true; };
  hooks_.push_back({id, std::move(settled), std::move(onAdvance)});
  return id;
}

void VirtualClock::RemoveSettleHook(HookId id) {
  std::lock_guard lock(mutex_);
  std::erase_if(hooks_, [id](const Hook& hook) { return hook.id == id; });
}

VirtualClock::HookId VirtualClock::Watch(const HidTransport& transport, SimulatedBus& bus) {
  return AddSettleHook([&transport, &bus] { return TrafficSettled(transport, bus); },
                       [&bus] { bus.WakeReaders(); });
}

std::vector<Milliseconds> VirtualClock::pauses() const {
  std::lock_guard lock(mutex_);
  return pauses_;
}

Milliseconds VirtualClock::pausedTotal() const {
  std::lock_guard lock(mutex_);
  Milliseconds total{0};
  for (Milliseconds pause : pauses_)
    total += pause;
  return total;
}

void VirtualClock::ClearPauses() {
  std::lock_guard lock(mutex_);
  pauses_.clear();
}

int VirtualClock::settleTimeouts() const {
  std::lock_guard lock(mutex_);
  return settleTimeouts_;
}

bool TrafficSettled(const HidTransport& transport, const SimulatedBus& bus) {
  // Pumps first: once they are idle no new output reaches the devices, so the bus can only
  // move towards settled.
  if (!transport.PumpsIdle())
    return false;
  return !transport.streamOpen() || bus.InputSettled();
}

}  // namespace tdxx::sim
