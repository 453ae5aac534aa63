#pragma once

#include <string>
#include <string_view>

#include "files/ProgressLog.h"

namespace tdxx::test {

// Everything logged, in one text.
class RecordingLog final : public ProgressLog {
 public:
  void LogProgress(std::string_view text) override { text_ += text; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace tdxx::test
