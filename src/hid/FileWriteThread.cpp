#include "hid/FileWriteThread.h"

#include <algorithm>
#include <array>

#include "hid/ReportFraming.h"

namespace tdxx {

namespace {
constexpr Milliseconds kPauseAfterReport{10};
}

TFileWriteThread::TFileWriteThread(HidApi& api, hid_device* device, ReportMode mode, Clock& clock)
    : TFileThread(api, device, mode, clock) {
  Start();
}

TFileWriteThread::~TFileWriteThread() {
  StopAndJoin();
}

bool TFileWriteThread::Enqueue(const std::uint8_t* bytes, std::size_t count) {
  bool taken;
  {
    std::lock_guard lock(queueLock_);
    taken = queue_.Push(bytes, count);
  }
  wakeEvent_->Set();
  return taken;
}

std::size_t TFileWriteThread::QueuedCount() {
  std::lock_guard lock(queueLock_);
  return queue_.count();
}

void TFileWriteThread::Stop() {
  // The deadline is set before the terminate request, so the thread never sees one without it.
  if (!Terminated())
    drainDeadline_.store((clock_.Now() + kDrainTime).count());
  TFileThread::Stop();
}

std::size_t TFileWriteThread::TakeReport(std::uint8_t* report) {
  std::lock_guard lock(queueLock_);
  const std::size_t count = std::min(queue_.count(), PayloadCapacity(mode_));
  if (count > 0)
    queue_.PopInto(report + 2, count);
  return count;
}

void TFileWriteThread::Execute() {
  std::array<std::uint8_t, kMaxReportLength> report{};
  for (;;) {
    const bool stopping = Terminated();
    if (stopping && clock_.Now().count() >= drainDeadline_.load())
      break;
    report.fill(0);
    const std::size_t count = TakeReport(report.data());
    if (count == 0) {
      if (stopping)
        break;
      wakeEvent_->Wait();
      continue;
    }
    report[0] = 0;
    report[1] = static_cast<std::uint8_t>(count);
    // A failed write is remembered (hidraw returns only once the report went out, so a failure
    // means the report is lost) for the flow to learn at the close. Once the stream is closing,
    // a failed write means nothing more can go out.
    // Reports go out every 10 ms: the time the write itself took (hidraw returns once the
    // transfer is done) counts towards the pause, as it would for a write left to run on its own.
    // The next report's time comes from this one's start at the clock's full resolution, so
    // no report starts less than 10.0 ms after the one before.
    const ClockDuration started = clock_.Now();
    const int written = api_.write(device_, report.data(), OutputReportLength(mode_));
    if (written < 0)
      writeFailed_.store(true);
    const ClockDuration now = clock_.Now();
    if (Terminated() && (written < 0 || now.count() >= drainDeadline_.load()))
      break;
    const ClockDuration nextStart = started + kPauseAfterReport;
    if (now < nextStart)
      clock_.SleepOnWorker(nextStart - now);
  }
}

}  // namespace tdxx
