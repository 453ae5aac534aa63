#pragma once

#include <string_view>

#include "protocol/MainWindowPort.h"

namespace tdxx {

// How a device flow tells the user how far it has got, without the rest of the window: a log
// line, a step of the progress bar, the bar filled at the end; each painted at once, since the
// flow keeps the user-interface thread busy until its next pause.
class FlowProgress {
 public:
  explicit FlowProgress(MainWindowPort& port) : port_(port) {}

  void Line(std::string_view text) {
    port_.LogProgress(text);
    port_.RepaintNow();
  }
  void Step() {
    port_.StepProgress();
    port_.RepaintNow();
  }
  void Fill() {
    port_.SetProgressPosition(port_.ProgressMaximum());
    port_.RepaintNow();
  }

 private:
  MainWindowPort& port_;
};

}  // namespace tdxx
