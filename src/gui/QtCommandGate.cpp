#include "gui/QtCommandGate.h"

#include <utility>

namespace tdxx {

namespace {

class BusyFlag {
 public:
  explicit BusyFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyFlag() { flag_ = false; }
  BusyFlag(const BusyFlag&) = delete;
  BusyFlag& operator=(const BusyFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool QtCommandGate::Run(const std::function<void()>& command) {
  if (busy_)
    return false;
  {
    BusyFlag flag(busy_);
    command();
  }
  // Handlers that came due during the command, in the order they came; each is a command of
  // its own and may defer further handlers.
  while (!deferred_.empty()) {
    std::function<void()> next = std::move(deferred_.front());
    deferred_.pop_front();
    BusyFlag flag(busy_);
    next();
  }
  return true;
}

void QtCommandGate::RunOrDefer(std::function<void()> handler) {
  if (busy_) {
    deferred_.push_back(std::move(handler));
    return;
  }
  Run(handler);
}

}  // namespace tdxx
