#pragma once

#include <functional>
#include <string>

#include "app/Application.h"
#include "methods/FileWriter.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// The flash-drive guide window without its widgets: what its buttons show and what they do.
// One instance lives as long as the window, so the path of the last copy survives from one
// showing to the next. The window forwards its events here, shows the state (calling back
// through the state-changed handler whenever it changes during a click) and closes when
// closeRequested.
class FlashDriveController {
 public:
  // Writes through the real file system.
  FlashDriveController(Application& app, MainWindowPort& port);
  // Writes through `writer` (tests make it fail).
  FlashDriveController(Application& app, MainWindowPort& port, FileWriter& writer);
  FlashDriveController(const FlashDriveController&) = delete;
  FlashDriveController& operator=(const FlashDriveController&) = delete;

  // A showing starts with the window open; the last copy's path is kept.
  void FormShow();
  // Deletes our earlier copy from the drive, then opens the key-file folder and, half a second
  // later, the drive in the desktop's file browser.
  void btnShowFoldersClick();
  // Copies the loaded BIN file onto the drive, safely and verified.
  void btnCopyBinFileClick();
  void btnDoneClick();

  const std::string& showFoldersCaption() const { return showFoldersCaption_; }
  bool showFoldersEnabled() const { return showFoldersEnabled_; }
  // True while a click is being handled; the window keeps its buttons from starting another.
  bool busy() const { return busy_; }
  bool closeRequested() const { return closeRequested_; }
  // The BIN file copied last, and its copy on the drive; empty until a copy succeeded.
  const std::string& sourcePath() const { return sourcePath_; }
  const std::string& copiedFilePath() const { return copiedFilePath_; }

  // Called after every change of the state shown, before the window is repainted.
  void SetStateChangedHandler(std::function<void()> handler) { stateChanged_ = std::move(handler); }

 private:
  bool FindDrive();
  bool DeleteEarlierCopy();
  bool OpenFolder(const std::string& path);
  void Warn(const std::string& text);
  void StateChanged();

  Application& app_;
  MainWindowPort& port_;
  PosixFileWriter posixWriter_;
  FileWriter& writer_;
  std::function<void()> stateChanged_;
  std::string showFoldersCaption_ = "Show Folders";
  bool showFoldersEnabled_ = true;
  bool busy_ = false;
  bool closeRequested_ = false;
  std::string sourcePath_;
  std::string copiedFilePath_;
};

}  // namespace tdxx
