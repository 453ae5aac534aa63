#pragma once

#include <string_view>

namespace tdxx {

// The one place every part of the program writes its progress texts to. Texts are narrow
// (UTF-8 on Linux) and are appended exactly as given: no line break or time stamp is added.
class ProgressLog {
 public:
  virtual ~ProgressLog() = default;
  virtual void LogProgress(std::string_view text) = 0;
};

}  // namespace tdxx
