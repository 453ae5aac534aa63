#pragma once

#include <string>

#include "app/Application.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// The PRG/TMode guide window without its widgets: what the window shows and what its buttons
// do. The window forwards its events here, shows the state and closes when closeRequested.
class TModeGuideController {
 public:
  TModeGuideController(Application& app, MainWindowPort& port);

  // Each showing starts afresh: "Connect via PRG", "Not found!" hidden, Download File disabled.
  void FormShow();
  // Detects the device (handle not kept); a device in PRG/TMode enables Download File.
  void btnConnectTModeClick();
  // Hands the download to the main window's tmrTModeDownload and closes.
  void btnDownloadClick();
  void btnDoneClick();

  const std::string& connectCaption() const { return connectCaption_; }
  bool notFoundVisible() const { return notFoundVisible_; }
  bool downloadEnabled() const { return downloadEnabled_; }
  bool closeRequested() const { return closeRequested_; }

 private:
  Application& app_;
  MainWindowPort& port_;
  std::string connectCaption_ = "Connect via PRG";
  bool notFoundVisible_ = false;
  bool downloadEnabled_ = false;
  bool closeRequested_ = false;
};

}  // namespace tdxx
