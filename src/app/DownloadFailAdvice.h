#pragma once

#include "app/MainWindowCommands.h"

namespace tdxx {

// The download-failed advice window without its widgets: each switch picture's button chooses
// the download method that fits that switch. The window forwards its buttons here and closes
// when closeRequested.
class DownloadFailAdvice {
 public:
  explicit DownloadFailAdvice(MainWindowCommands& commands);

  void FormShow();
  // The PRG switch: method PRG/TMode.
  void btnUsePRG_TModeClick();
  // The flash-drive switch: method flash-drive copy.
  void btnUseFlashDriveClick();
  // Closes and changes nothing.
  void btnCancelClick();

  bool closeRequested() const { return closeRequested_; }

 private:
  // Sets the method; only when it was stored tells the user and closes (a failed write has
  // shown its error box, and the window stays for the user to close).
  void Choose(int mode, const char* confirmation);

  MainWindowCommands& commands_;
  bool closeRequested_ = false;
};

}  // namespace tdxx
