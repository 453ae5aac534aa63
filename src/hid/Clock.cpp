#include "hid/Clock.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace tdxx {

namespace {

// The event of a clock that runs on real time.
class RealEvent final : public ClockEvent {
 public:
  void Set() override {
    {
      std::lock_guard lock(mutex_);
      set_ = true;
    }
    signalled_.notify_one();
  }
  void Wait() override {
    std::unique_lock lock(mutex_);
    signalled_.wait(lock, [this] { return set_; });
    set_ = false;
  }
  bool WaitFor(ClockDuration timeout) override {
    std::unique_lock lock(mutex_);
    if (!signalled_.wait_for(lock, timeout, [this] { return set_; }))
      return false;
    set_ = false;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable signalled_;
  bool set_ = false;
};

class RealThread final : public ClockThread {
 public:
  explicit RealThread(std::function<void()> body) : thread_(std::move(body)) {}
  ~RealThread() override { Join(); }
  void Join() override {
    if (thread_.joinable())
      thread_.join();
  }

 private:
  std::thread thread_;
};

}  // namespace

void SleepFullyUntil(std::chrono::steady_clock::time_point deadline) {
  while (std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_until(deadline);
}

void SleepFully(ClockDuration duration) {
  SleepFullyUntil(std::chrono::steady_clock::now() + duration);
}

void Clock::Spend(ClockDuration duration) {
  SleepFully(duration);
}

std::unique_ptr<ClockEvent> Clock::MakeEvent() {
  return std::make_unique<RealEvent>();
}

std::unique_ptr<ClockThread> Clock::StartWorker(std::function<void()> body) {
  return std::make_unique<RealThread>(std::move(body));
}

void SystemClock::Pause(ClockDuration duration) {
  SleepFully(duration);
}

void SystemClock::SleepOnWorker(ClockDuration duration) {
  SleepFully(duration);
}

ClockDuration SystemClock::Now() const {
  return std::chrono::duration_cast<ClockDuration>(
      std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace tdxx
