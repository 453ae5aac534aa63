#pragma once

#include <deque>
#include <functional>

namespace tdxx {

// Lets one main-window command run at a time. A command pauses and shows modal windows, and each
// of those runs the event loop, so an event could start a second command inside the first. The
// commands disable their buttons while they run; the gate is the backstop behind that: a user
// command that arrives while another runs is dropped, and a timer's handler (which must not be
// lost) runs right after the running command instead.
class QtCommandGate {
 public:
  // Runs `command` now; returns false and does nothing when a command is running already.
  bool Run(const std::function<void()>& command);
  // Runs `handler` now, or right after the running command when one is busy.
  void RunOrDefer(std::function<void()> handler);

  bool busy() const { return busy_; }

 private:
  bool busy_ = false;
  std::deque<std::function<void()>> deferred_;
};

}  // namespace tdxx
