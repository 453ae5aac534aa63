#include "hid/FileWriteThread.h"

#include <algorithm>
#include <array>

#include "hid/ReportFraming.h"

namespace tdxx {

namespace {
constexpr Milliseconds kPauseAfterReport{10};
}

TFileWriteThread::TFileWriteThread(DeviceLink& link, ReportMode mode, Clock& clock)
    : TFileThread(link, mode, clock) {
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
  wakeEvent_.Set();
  return taken;
}

std::size_t TFileWriteThread::QueuedCount() {
  std::lock_guard lock(queueLock_);
  return queue_.count();
}

bool TFileWriteThread::Idle() {
  std::lock_guard lock(queueLock_);
  return !sending_ && (queue_.count() == 0 || Terminated());
}

void TFileWriteThread::Execute() {
  std::array<std::uint8_t, kMaxReportLength> report{};
  while (!Terminated()) {
    std::size_t count = 0;
    report.fill(0);
    {
      std::lock_guard lock(queueLock_);
      count = std::min(queue_.count(), PayloadCapacity(mode_));
      if (count > 0) {
        queue_.PopInto(report.data() + 2, count);
        sending_ = true;
      }
    }
    if (count == 0) {
      if (!Terminated())
        wakeEvent_.Wait();
      continue;
    }
    report[0] = 0;
    report[1] = static_cast<std::uint8_t>(count);
    {
      // Write errors are not reported: a device that stops listening shows up as replies
      // that never come.
      DeviceCall call(link_);
      link_.api().write(link_.device(), report.data(), OutputReportLength(mode_));
    }
    {
      std::lock_guard lock(queueLock_);
      sending_ = false;
    }
    clock_.SleepOnWorker(kPauseAfterReport);
  }
}

}  // namespace tdxx
