#include "sim/VirtualClock.h"

#include <algorithm>
#include <thread>

namespace tdxx::sim {

namespace {
// The clock whose worker the current thread is, if any.
thread_local const VirtualClock* currentWorkerClock = nullptr;
}  // namespace

struct VirtualClock::Waiter {
  long long deadline = kForever;
  bool woken = false;
  // Workers count in running_; the driving thread does not.
  bool worker = false;
};

// An auto-reset event on virtual time. Set wakes its waiter at once (a worker counts as running
// from that moment, so time cannot move on before it has had its turn).
class VirtualClock::Event final : public ClockEvent {
 public:
  explicit Event(VirtualClock& clock) : clock_(clock) {}

  void Set() override {
    std::lock_guard lock(clock_.mutex_);
    set_ = true;
    if (waiter_ != nullptr)
      clock_.Wake(*waiter_);
    clock_.changed_.notify_all();
  }
  void Wait() override {
    std::unique_lock lock(clock_.mutex_);
    WaitUntil(kForever, lock);
  }
  bool WaitFor(ClockDuration timeout) override {
    std::unique_lock lock(clock_.mutex_);
    return WaitUntil(clock_.now_ + std::max<long long>(timeout.count(), 0), lock);
  }

 private:
  bool WaitUntil(long long deadline, std::unique_lock<std::mutex>& lock);

  VirtualClock& clock_;
  bool set_ = false;
  Waiter* waiter_ = nullptr;
};

class VirtualClock::Worker final : public ClockThread {
 public:
  Worker(VirtualClock& clock, std::function<void()> body) : clock_(clock) {
    {
      // The new thread counts as running before it exists, so time cannot move on before it
      // has had its turn.
      std::lock_guard lock(clock_.mutex_);
      ++clock_.running_;
    }
    try {
      thread_ = std::thread([this, body = std::move(body)] {
        currentWorkerClock = &clock_;
        body();
        std::lock_guard lock(clock_.mutex_);
        --clock_.running_;
        done_ = true;
        clock_.changed_.notify_all();
      });
    } catch (...) {
      std::lock_guard lock(clock_.mutex_);
      --clock_.running_;
      throw;
    }
  }
  ~Worker() override { Join(); }

  void Join() override {
    if (!thread_.joinable())
      return;
    {
      // The worker may still need time to pass (a last sleep) before its body returns.
      std::unique_lock lock(clock_.mutex_);
      if (!clock_.OnWorkerThread())
        clock_.Drive(
            kForever, [this] { return done_; }, lock);
    }
    thread_.join();
  }

 private:
  VirtualClock& clock_;
  bool done_ = false;  // guarded by the clock's mutex
  std::thread thread_;
};

bool VirtualClock::Event::WaitUntil(long long deadline, std::unique_lock<std::mutex>& lock) {
  if (!set_) {
    Waiter waiter{deadline, false, clock_.OnWorkerThread()};
    waiter_ = &waiter;
    if (waiter.worker)
      clock_.Block(waiter, lock);
    else
      clock_.Drive(
          deadline, [this] { return set_; }, lock);
    waiter_ = nullptr;
  }
  const bool got = set_;
  set_ = false;
  return got;
}

VirtualClock::VirtualClock(std::chrono::milliseconds stallLimit) : stallLimit_(stallLimit) {}

VirtualClock::~VirtualClock() = default;

bool VirtualClock::OnWorkerThread() const {
  return currentWorkerClock == this;
}

void VirtualClock::Wake(Waiter& waiter) {
  if (waiter.woken)
    return;
  waiter.woken = true;
  if (waiter.worker)
    ++running_;
}

bool VirtualClock::WaitForQuiet(std::unique_lock<std::mutex>& lock,
                                const std::function<bool()>& done) {
  const bool quiet =
      changed_.wait_for(lock, stallLimit_, [&] { return running_ == 0 || (done && done()); });
  if (!quiet)
    ++stalls_;
  return quiet;
}

void VirtualClock::Drive(long long target, const std::function<bool()>& done,
                         std::unique_lock<std::mutex>& lock) {
  for (;;) {
    if (!WaitForQuiet(lock, done))
      return;
    if (done && done())
      return;
    if (target != kForever && now_ >= target)
      return;
    // Everybody waits: jump to the earliest time somebody waits for.
    long long next = target;
    for (const Waiter* waiter : waiting_) {
      if (!waiter->woken && waiter->deadline != kForever)
        next = next == kForever ? waiter->deadline : std::min(next, waiter->deadline);
    }
    if (next == kForever) {
      // Nothing can ever happen: a wait for something no worker will do.
      ++stalls_;
      return;
    }
    now_ = std::max(now_, next);
    for (Waiter* waiter : waiting_) {
      if (waiter->deadline != kForever && waiter->deadline <= now_)
        Wake(*waiter);
    }
    changed_.notify_all();
  }
}

void VirtualClock::Block(Waiter& waiter, std::unique_lock<std::mutex>& lock) {
  if (waiter.deadline != kForever && waiter.deadline <= now_)
    return;
  waiting_.push_back(&waiter);
  --running_;
  changed_.notify_all();
  changed_.wait(lock, [&] { return waiter.woken; });
  std::erase(waiting_, &waiter);
}

void VirtualClock::Pause(ClockDuration duration) {
  std::unique_lock lock(mutex_);
  pauses_.push_back(duration);
  Drive(now_ + std::max<long long>(duration.count(), 0), {}, lock);
}

void VirtualClock::Advance(ClockDuration duration) {
  std::unique_lock lock(mutex_);
  Drive(now_ + std::max<long long>(duration.count(), 0), {}, lock);
}

void VirtualClock::SleepOnWorker(ClockDuration duration) {
  Spend(duration);
}

void VirtualClock::Spend(ClockDuration duration) {
  std::unique_lock lock(mutex_);
  const long long deadline = now_ + std::max<long long>(duration.count(), 0);
  if (OnWorkerThread()) {
    Waiter waiter{deadline, false, true};
    Block(waiter, lock);
  } else {
    Drive(deadline, {}, lock);
  }
}

ClockDuration VirtualClock::Now() const {
  std::lock_guard lock(mutex_);
  return ClockDuration(now_);
}

std::unique_ptr<ClockEvent> VirtualClock::MakeEvent() {
  return std::make_unique<Event>(*this);
}

std::unique_ptr<ClockThread> VirtualClock::StartWorker(std::function<void()> body) {
  return std::make_unique<Worker>(*this, std::move(body));
}

std::vector<ClockDuration> VirtualClock::pauses() const {
  std::lock_guard lock(mutex_);
  return pauses_;
}

ClockDuration VirtualClock::pausedTotal() const {
  std::lock_guard lock(mutex_);
  ClockDuration total{0};
  for (ClockDuration pause : pauses_)
    total += pause;
  return total;
}

void VirtualClock::ClearPauses() {
  std::lock_guard lock(mutex_);
  pauses_.clear();
}

int VirtualClock::stalls() const {
  std::lock_guard lock(mutex_);
  return stalls_;
}

}  // namespace tdxx::sim
