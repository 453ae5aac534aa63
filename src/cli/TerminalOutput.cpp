#include "cli/TerminalOutput.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "files/NarrowText.h"

namespace tdxx::cli {

std::string ProgressLine(int position, int maximum, Milliseconds remaining, int width,
                         std::string_view label) {
  const int max = std::max(maximum, 1);
  const int pos = std::clamp(position, 0, max);
  const int filled = pos * width / max;
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(width - filled), '.') + "]  ";
  line += label.empty() ? std::to_string(pos) + "/" + std::to_string(max) : std::string(label);
  if (remaining.count() >= 0) {
    const auto seconds = (remaining.count() + 999) / 1000;
    line += "  about " + std::to_string(seconds) + " s to go";
  }
  return line;
}

namespace {

// The number at the start of `text`, or -1.
int LeadingNumber(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end != text.data() ? value : -1;
}

}  // namespace

std::string StepLabel(std::string_view line, int keyTotal) {
  constexpr std::string_view kKey = "...Downloading key #";
  constexpr std::string_view kBlock = "...Flash data, block ";
  if (line.starts_with(kKey)) {
    const int key = LeadingNumber(line.substr(kKey.size()));
    if (key < 0)
      return "";
    return keyTotal > 0 ? "keys " + std::to_string(key) + "/" + std::to_string(keyTotal)
                        : "key " + std::to_string(key);
  }
  if (line.starts_with(kBlock)) {
    std::string_view rest = line.substr(kBlock.size());
    const int block = LeadingNumber(rest);
    const std::size_t of = rest.find(" of ");
    if (block < 0 || of == std::string_view::npos)
      return "";
    const int total = LeadingNumber(rest.substr(of + 4));
    return total < 0 ? "" : "block " + std::to_string(block) + "/" + std::to_string(total);
  }
  return "";
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
  openLineBroken_ = false;
  if (!showBar_) {
    out_ << text << std::flush;
    return;
  }
  pendingLine_ += text;
  const std::size_t lastBreak = pendingLine_.rfind('\n');
  if (lastBreak != std::string::npos) {
    const std::string complete = pendingLine_.substr(0, lastBreak + 1);
    pendingLine_.erase(0, lastBreak + 1);
    PrintLines(complete);
  }
  // A step line labels the bar as soon as it starts.
  if (TakeStepLine(pendingLine_))
    DrawBar();
}

void TerminalOutput::PrintLines(std::string_view lines) {
  std::string printed;
  std::size_t start = 0;
  while (start < lines.size()) {
    const std::size_t end = lines.find('\n', start);
    const std::string_view line = lines.substr(start, end - start);
    // "Downloading 24 keys via PRG/TMode." tells how many key lines follow.
    constexpr std::string_view kDownloading = "Downloading ";
    if (line.starts_with(kDownloading) && line.find(" keys") != std::string_view::npos)
      keyTotal_ = std::max(LeadingNumber(line.substr(kDownloading.size())), 0);
    // The device holds fewer keys than announced, and the log does not say how many.
    if (line.starts_with("...Truncating number of keys"))
      keyTotal_ = 0;
    if (!TakeStepLine(line))
      printed.append(line).append("\n");
    start = end + 1;
  }
  EraseBar();
  out_ << printed << std::flush;
  DrawBar();
}

bool TerminalOutput::TakeStepLine(std::string_view line) {
  std::string label = StepLabel(line, keyTotal_);
  if (label.empty())
    return false;
  label_ = std::move(label);
  return true;
}

void TerminalOutput::Note(std::string_view utf8Line) {
  EraseBar();
  // Without the bar the log's last line may still be open on the same terminal: the note
  // starts on a line of its own.
  if (!showBar_ && !atLineStart_ && !openLineBroken_)
    errors_ << "\n";
  openLineBroken_ = !atLineStart_;
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
  // A step line is the bar's; it goes with the bar.
  if (showBar_ && !StepLabel(pendingLine_, keyTotal_).empty()) {
    pendingLine_.clear();
    atLineStart_ = true;
  }
  out_ << pendingLine_;
  if (!atLineStart_)
    out_ << "\n";
  out_ << std::flush;
  pendingLine_.clear();
  atLineStart_ = true;
  maximum_ = 0;
  label_.clear();
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
  errors_ << "\r\033[K" << ProgressLine(position_, maximum_, remaining, 30, label_) << std::flush;
  barShown_ = true;
}

}  // namespace tdxx::cli
