#pragma once

#include <functional>

#include "app/MainWindowCommands.h"
#include "cli/ConsolePort.h"

namespace tdxx::cli {

// The guide windows for the front end, over the same controllers the windows use:
// - PRG/TMode guide: prints its steps; with a wait of S seconds it runs Connect once a second
//   for up to S seconds until a device in PRG/TMode answers, then Download File (which starts
//   tmrTModeDownload through the port); without a wait, or when no device answered, the guide
//   is left not completed.
// - Download-failed advice: prints the advice and the two choices; changes nothing (Cancel).
// - Flash-drive copy: prints its steps; with a wait of S seconds it looks for the keypad's drive
//   once a second for up to S seconds, then copies the loaded BIN file as "Copy Bin for me"
//   does (written safely and read back); without a wait, or without a drive, the guide is left
//   not completed.
class ConsoleWindows {
 public:
  // `waitSeconds` below 0: no waiting.
  ConsoleWindows(MainWindowCommands& commands, ConsolePort& port, Clock& clock, int waitSeconds);

  void Show(ModalWindow window);
  // A guide window was closed without handing a download back.
  bool guideIncomplete() const { return guideIncomplete_; }
  // The flash-drive copy was written and read back equal.
  bool flashDriveCopied() const { return flashDriveCopied_; }

 private:
  void ShowTModeGuide();
  void ShowDownloadFailAdvice();
  void ShowFlashDriveGuide();
  // Runs `attempt` now and then once a second until it returns true or the wait is over.
  bool RetryForWait(const std::function<bool()>& attempt);

  MainWindowCommands& commands_;
  ConsolePort& port_;
  Clock& clock_;
  const int waitSeconds_;
  bool guideIncomplete_ = false;
  bool flashDriveCopied_ = false;
};

}  // namespace tdxx::cli
