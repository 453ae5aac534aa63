#include "hid/FileReadThread.h"

#include <array>

#include "hid/ReportFraming.h"

namespace tdxx {

namespace {
// One read window: the reader waits this long for a report before it looks at Stop again.
constexpr Milliseconds kReadWindow{50};
}  // namespace

TFileReadThread::TFileReadThread(HidApi& api, hid_device* device, ReportMode mode, Clock& clock)
    : TFileThread(api, device, mode, clock) {
  Start();
}

TFileReadThread::~TFileReadThread() {
  StopAndJoin();
}

std::size_t TFileReadThread::QueuedCount() {
  std::lock_guard lock(queueLock_);
  return queue_.count();
}

std::uint8_t TFileReadThread::Dequeue() {
  std::lock_guard lock(queueLock_);
  return queue_.Pop();
}

void TFileReadThread::Execute() {
  std::array<std::uint8_t, kMaxReportLength> report{};
  const std::size_t length = InputReportLength(mode_);
  while (!Terminated()) {
    report.fill(0);
    const int got =
        api_.read_timeout(device_, report.data(), length, static_cast<int>(kReadWindow.count()));
    if (got < 0) {
      // The device is gone or broken: wait out one read window before the next try, so that a
      // dead device costs no processor time (Stop ends the wait at once).
      wakeEvent_->WaitFor(kReadWindow);
      continue;
    }
    if (got > 0)
      Take(report.data());
  }
}

void TFileReadThread::Take(const std::uint8_t* report) {
  // The count byte decides, not the length the read returned.
  const std::size_t count = report[0];
  if (count == 0 || count > PayloadCapacity(mode_))
    return;
  std::lock_guard lock(queueLock_);
  queue_.Push(report + 1, count);
}

}  // namespace tdxx
