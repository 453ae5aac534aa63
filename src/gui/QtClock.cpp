#include "gui/QtClock.h"

#include "gui/QtEventsWithoutInput.h"

namespace tdxx {

void QtClock::Pause(Milliseconds duration) {
  if (duration <= Milliseconds(0))
    return;
  RunEventsWithoutInput(std::chrono::steady_clock::now() + duration);
}

}  // namespace tdxx
