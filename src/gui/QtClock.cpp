#include "gui/QtClock.h"

#include "gui/QtEventsWithoutInput.h"

namespace tdxx {

void QtClock::Pause(ClockDuration duration) {
  if (duration <= ClockDuration::zero())
    return;
  // The deadline keeps the steady clock's resolution: a pause never ends early by the fraction
  // of a millisecond that whole-millisecond timers would drop.
  const auto deadline = std::chrono::steady_clock::now() + duration;
  RunEventsWithoutInput(deadline);
  // However the event loop ended (a timer that fired a little early, the application
  // quitting), whatever is left of the pause is slept out.
  SleepFullyUntil(deadline);
}

}  // namespace tdxx
