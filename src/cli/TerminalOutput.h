#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "protocol/DownloadTimeEstimate.h"

namespace tdxx::cli {

// The progress bar line: "[#######.............]  7/25  about 12 s to go", or with a label
// "[####....]  keys 12/24  about 5 s to go". `remaining` is left out when negative.
std::string ProgressLine(int position, int maximum, Milliseconds remaining, int width = 30,
                         std::string_view label = {});

// The bar's label for a log line that only counts a step ("...Downloading key #12." gives
// "keys 12/24" once `keyTotal` is known, "...Flash data, block 37 of 109" gives
// "block 37/109"); empty for any other line.
std::string StepLabel(std::string_view line, int keyTotal);

// A run's output for people: the log streams to `out` as it is written (CR LF and a lone CR as
// one line break, bytes that are not UTF-8 as their Latin-1 characters); with `showBar` a
// progress bar is kept on the last line of `errors` with the time still to go. While the bar
// is shown a log line appears once it is complete, so that the bar never overwrites it, and
// the lines that only count keys or blocks label the bar instead of being printed.
class TerminalOutput {
 public:
  TerminalOutput(std::ostream& out, std::ostream& errors, bool showBar);

  void Log(std::string_view narrow);
  // A line for the error stream (message boxes, guide windows).
  void Note(std::string_view utf8Line);
  void Progress(int position, int maximum);
  // The mandated time of the download about to run; its steps match the bar's steps.
  void SetEstimate(DownloadTimeEstimate estimate) { estimate_ = std::move(estimate); }
  // Removes the bar and writes what is left of the log, ending the last line.
  void Finish();

 private:
  void EraseBar();
  void DrawBar();
  // Prints the complete lines of `lines`, those that count a step going into the label.
  void PrintLines(std::string_view lines);
  // True when `line` counts a step: the label is set from it.
  bool TakeStepLine(std::string_view line);

  std::ostream& out_;
  std::ostream& errors_;
  const bool showBar_;
  bool barShown_ = false;
  bool lastWasCr_ = false;
  bool atLineStart_ = true;
  bool openLineBroken_ = false;  // a note has ended the log's open line on the error stream
  std::string pendingLine_;
  int position_ = 0;
  int maximum_ = 0;
  DownloadTimeEstimate estimate_;
  std::string label_;
  int keyTotal_ = 0;
};

}  // namespace tdxx::cli
