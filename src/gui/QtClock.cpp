#include "gui/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace tdxx {

void QtClock::Pause(Milliseconds duration) {
  using std::chrono::steady_clock;
  const auto deadline = steady_clock::now() + duration;
  for (;;) {
    const auto now = steady_clock::now();
    if (now >= deadline)
      return;
    if (QCoreApplication::instance() == nullptr) {
      std::this_thread::sleep_until(deadline);
      continue;
    }
    const auto remaining = std::chrono::ceil<Milliseconds>(deadline - now);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(remaining.count()));
    // The loop also ends early when the application quits (and a loop started after that does
    // not run at all); the pause then sleeps out its time, since it never returns early.
    if (loop.exec() != 0)
      std::this_thread::sleep_until(deadline);
  }
}

}  // namespace tdxx
