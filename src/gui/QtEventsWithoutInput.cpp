#include "gui/QtEventsWithoutInput.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace tdxx {

namespace {

constexpr QEventLoop::ProcessEventsFlags kWithoutInput = QEventLoop::ExcludeUserInputEvents;

void RunUntil(std::chrono::steady_clock::time_point deadline) {
  using std::chrono::steady_clock;
  QCoreApplication::processEvents(kWithoutInput);
  for (;;) {
    const auto now = steady_clock::now();
    if (now >= deadline)
      return;
    // The timer counts whole milliseconds: it is set to end at the last whole millisecond
    // before the deadline, and the fraction left after it is slept out. Rounding up instead
    // would add most of a millisecond to every pause, a tenth of a 10 ms pause between two
    // reports of a download.
    const auto remaining = std::chrono::floor<std::chrono::milliseconds>(deadline - now);
    if (remaining < std::chrono::milliseconds(1)) {
      std::this_thread::sleep_until(deadline);
      return;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % late; the pauses are part of the device protocol and
    // should last what they say.
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(remaining.count()));
    // The loop also ends early when the application quits (and a loop started after that does
    // not run at all and returns non-zero); the time is then slept out.
    if (loop.exec(kWithoutInput) != 0) {
      std::this_thread::sleep_until(deadline);
      return;
    }
  }
}

}  // namespace

void RunEventsWithoutInput(std::chrono::steady_clock::time_point deadline) {
  if (QCoreApplication::instance() == nullptr) {
    std::this_thread::sleep_until(deadline);
    return;
  }
  RunUntil(deadline);
  // Input that was held back stays queued without a wake-up of the event loop: the next
  // processing of events would pass it over until more input arrives. Wake the loop so that it
  // takes that input the next time it runs without the restriction (SetCommandsEnabled relies
  // on that to drop clicks made during a command).
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    dispatcher->wakeUp();
}

}  // namespace tdxx
