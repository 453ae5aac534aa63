#pragma once

#include "protocol/MainWindowPort.h"

namespace tdxx {

// Keeps the main window's commands disabled while a command or flow runs. Scopes nest (the
// start-up automation runs Download inside its own scope); the commands come back when the
// outermost scope ends, whatever path it takes out.
class CommandScope {
 public:
  CommandScope(MainWindowPort& port, int& depth) : port_(port), depth_(depth) {
    if (depth_++ == 0)
      port_.SetCommandsEnabled(false);
  }
  ~CommandScope() {
    if (--depth_ == 0)
      port_.SetCommandsEnabled(true);
  }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  MainWindowPort& port_;
  int& depth_;
};

}  // namespace tdxx
