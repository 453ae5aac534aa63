#include "hid/DeviceLink.h"

namespace tdxx {

void DeviceLink::Acquire(bool yieldToOthers) {
  std::unique_lock lock(mutex_);
  if (yieldToOthers) {
    free_.wait(lock, [this] { return !busy_ && waiting_ == 0; });
  } else {
    ++waiting_;
    free_.wait(lock, [this] { return !busy_; });
    --waiting_;
  }
  busy_ = true;
}

void DeviceLink::Release() {
  {
    std::lock_guard lock(mutex_);
    busy_ = false;
  }
  free_.notify_all();
}

}  // namespace tdxx
