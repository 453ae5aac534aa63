#pragma once

#include <deque>
#include <functional>
#include <string_view>

namespace tdxx {

// Lets one main-window command run at a time. A command pauses and shows modal windows, and each
// of those runs the event loop, so an event could start a second command inside the first. The
// commands disable their buttons while they run; the gate is the backstop behind that: a user
// command that arrives while another runs is dropped, and a timer's handler (which must not be
// lost) runs right after the running command instead.
//
// The gate is also where errors stop: an exception that escapes a command or a deferred handler
// is handed to the error callback (the window shows it in the standard error box) instead of
// travelling on through the toolkit's signal emission, and the gate stays usable.
class QtCommandGate {
 public:
  // Receives the text of an error that escaped a command; "Unknown error." when it had none.
  using ErrorCallback = std::function<void(std::string_view text)>;

  explicit QtCommandGate(ErrorCallback onError);

  // Runs `command` now, then the handlers deferred while it ran; returns false and does nothing
  // when a command is running already.
  bool Run(const std::function<void()>& command);
  // Runs `handler` now, or right after the running command when one is busy.
  void RunOrDefer(std::function<void()> handler);

  bool busy() const { return busy_; }

 private:
  // Runs one command or handler with the busy flag set, reporting what escapes it.
  void RunOne(const std::function<void()>& work);

  ErrorCallback onError_;
  bool busy_ = false;
  std::deque<std::function<void()>> deferred_;
};

}  // namespace tdxx
