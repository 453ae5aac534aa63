#pragma once

#include <vector>

#include "hid/Clock.h"

namespace tdxx::test {

// Virtual time without any device traffic to wait for: a pause only moves the time on.
class StepClock final : public Clock {
 public:
  void Pause(ClockDuration duration) override {
    pauses.push_back(duration);
    now_ += duration;
  }
  void SleepOnWorker(ClockDuration) override {}
  ClockDuration Now() const override { return now_; }

  std::vector<ClockDuration> pauses;

 private:
  ClockDuration now_{0};
};

}  // namespace tdxx::test
