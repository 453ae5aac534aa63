#include "hid/FileReadThread.h"

#include <array>

#include "hid/ReportFraming.h"

namespace tdxx {

namespace {
// The read window is cut into short hid_read_timeout slices: between two slices the writer
// gets the device (so it never waits longer than one slice) and a Stop is noticed. A slice
// that times out simply starts the next one, as the end of a window without data would.
constexpr int kReadSliceMs = 5;
// After a failed read (device gone) the thread waits out one read window before it tries
// again, so that a dead device costs no processor time.
constexpr Milliseconds kReadWindow{50};
}  // namespace

TFileReadThread::TFileReadThread(DeviceLink& link, ReportMode mode, Clock& clock)
    : TFileThread(link, mode, clock) {
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
    int got;
    {
      DeviceCall call(link_, /*yieldToOthers=*/true);
      got = link_.api().read_timeout(link_.device(), report.data(), length, kReadSliceMs);
    }
    if (got < 0) {
      wakeEvent_.WaitFor(kReadWindow);
      continue;
    }
    if (got == 0)
      continue;
    holding_.store(true);
    Take(report.data());
    holding_.store(false);
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
