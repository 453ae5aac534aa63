#include "gui/QtCommandGate.h"

#include <exception>
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

// Drops the handlers still queued when Run is left early (the error callback failed), so that
// they do not run inside the next, unrelated command.
class ClearOnExit {
 public:
  explicit ClearOnExit(std::deque<std::function<void()>>& queue) : queue_(queue) {}
  ~ClearOnExit() { queue_.clear(); }
  ClearOnExit(const ClearOnExit&) = delete;
  ClearOnExit& operator=(const ClearOnExit&) = delete;

 private:
  std::deque<std::function<void()>>& queue_;
};

}  // namespace

QtCommandGate::QtCommandGate(ErrorCallback onError) : onError_(std::move(onError)) {}

bool QtCommandGate::Run(const std::function<void()>& command) {
  if (busy_)
    return false;
  ClearOnExit clear(deferred_);
  RunOne(command);
  // Handlers that came due during the command, in the order they came, whether or not the
  // command failed; each is a command of its own and may defer further handlers.
  while (!deferred_.empty()) {
    std::function<void()> next = std::move(deferred_.front());
    deferred_.pop_front();
    RunOne(next);
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

void QtCommandGate::RunOne(const std::function<void()>& work) {
  BusyFlag flag(busy_);
  try {
    work();
    return;
  } catch (const std::exception& error) {
    onError_(error.what());
  } catch (...) {
    onError_("Unknown error.");
  }
}

}  // namespace tdxx
