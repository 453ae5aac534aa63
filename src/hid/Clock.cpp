#include "hid/Clock.h"

#include <thread>

namespace tdxx {

void SystemClock::Pause(Milliseconds duration) {
  // sleep_for may wake early on some systems; sleep until a deadline instead.
  const auto deadline = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_until(deadline);
  }
}

void SystemClock::SleepOnWorker(Milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

Milliseconds SystemClock::Now() const {
  return std::chrono::duration_cast<Milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace tdxx
