#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "protocol/DownloadTimeEstimate.h"

namespace tdxx::cli {

// The progress bar line: "[#######.............]  7/25  about 12 s to go". `remaining` is
// left out when negative.
std::string ProgressLine(int position, int maximum, Milliseconds remaining, int width = 30);

// A run's output for people: the log streams to `out` as it is written (CR LF and a lone CR as
// one line break, bytes that are not UTF-8 as their Latin-1 characters); with `showBar` a
// progress bar is kept on the last line of `errors` with the time still to go. While the bar
// is shown a log line appears once it is complete, so that the bar never overwrites it.
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

  std::ostream& out_;
  std::ostream& errors_;
  const bool showBar_;
  bool barShown_ = false;
  bool lastWasCr_ = false;
  bool atLineStart_ = true;
  std::string pendingLine_;
  int position_ = 0;
  int maximum_ = 0;
  DownloadTimeEstimate estimate_;
};

}  // namespace tdxx::cli
