#pragma once

#include "hid/Clock.h"

namespace tdxx {

// The program's clock in the windowed program. A pause on the user-interface thread runs the
// event loop until the time is up, so the windows keep painting and timers keep firing; user
// input is held back until the pause ends (RunEventsWithoutInput).
class QtClock final : public SystemClock {
 public:
  void Pause(ClockDuration duration) override;
};

}  // namespace tdxx
