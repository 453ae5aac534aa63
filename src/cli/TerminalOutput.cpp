#include "cli/TerminalOutput.h"

#include <algorithm>
#include <ostream>

#include "files/NarrowText.h"

namespace tdxx::cli {

std::string ProgressLine(int position, int maximum, Milliseconds remaining, int width) {
  const int max = std::max(maximum, 1);
  const int pos = std::clamp(position, 0, max);
  const int filled = pos * width / max;
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(width - filled), '.') + "]  " +
                     std::to_string(pos) + "/" + std::to_string(max);
  if (remaining.count() >= 0) {
    const auto seconds = (remaining.count() + 999) / 1000;
    line += "  about " + std::to_string(seconds) + " s to go";
  }
  return line;
}

TerminalOutput::TerminalOutput(std::ostream& out, std::ostream& errors, bool showBar)
    : out_(out), errors_(errors), showBar_(showBar) {}

void TerminalOutput::Log(std::string_view narrow) {
  // Line breaks are turned one by one, so that a CR LF pair split over two texts is one break.
  std::string lines;
  for (const char c : narrow) {
    if (c == '\r') {
      lines += '\n';
      lastWasCr_ = true;
      continue;
    }
    if (!(c == '\n' && lastWasCr_))
      lines += c;
    lastWasCr_ = false;
  }
  const std::string text = NarrowToDisplayUtf8(lines);
  if (text.empty())
    return;
  atLineStart_ = text.back() == '\n';
  if (!showBar_) {
    out_ << text << std::flush;
    return;
  }
  pendingLine_ += text;
  const std::size_t lastBreak = pendingLine_.rfind('\n');
  if (lastBreak == std::string::npos)
    return;
  EraseBar();
  out_ << pendingLine_.substr(0, lastBreak + 1) << std::flush;
  pendingLine_.erase(0, lastBreak + 1);
  DrawBar();
}

void TerminalOutput::Note(std::string_view utf8Line) {
  EraseBar();
  errors_ << utf8Line << "\n" << std::flush;
  DrawBar();
}

void TerminalOutput::Progress(int position, int maximum) {
  position_ = position;
  maximum_ = maximum;
  DrawBar();
}

void TerminalOutput::Finish() {
  EraseBar();
  out_ << pendingLine_;
  if (!atLineStart_)
    out_ << "\n";
  out_ << std::flush;
  pendingLine_.clear();
  atLineStart_ = true;
  maximum_ = 0;
}

void TerminalOutput::EraseBar() {
  if (!barShown_)
    return;
  errors_ << "\r\033[K" << std::flush;
  barShown_ = false;
}

void TerminalOutput::DrawBar() {
  if (!showBar_ || maximum_ <= 0 || position_ <= 0)
    return;
  // The time to go is known while the bar counts the estimated download's steps.
  const bool estimated = !estimate_.empty() && maximum_ == static_cast<int>(estimate_.steps.size());
  const Milliseconds remaining = estimated ? estimate_.Remaining(position_) : Milliseconds(-1);
  errors_ << "\r\033[K" << ProgressLine(position_, maximum_, remaining) << std::flush;
  barShown_ = true;
}

}  // namespace tdxx::cli
