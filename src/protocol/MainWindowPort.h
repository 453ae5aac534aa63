#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/ProgressLog.h"
#include "hid/Clock.h"

namespace tdxx {

enum class MessageIcon { None, Warning, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageResult { Ok, Yes, No };

// The windows that commands show modally besides message boxes.
enum class ModalWindow { FlashDrive, TMode, DownloadFail };

// What Open asks of the open-file dialog.
struct OpenFileRequest {
  std::string title;
  std::string filter;        // "Name (*.ext)|*.ext|..." pairs, as in the program's filter text
  int filterIndex = 1;       // pre-selected entry, numbered from 1
  std::string defaultExtension;
  std::string startFolder;
};

// The main window's services, as every command and flow uses them. The Qt main window
// implements it; tests use a recording fake. All calls come from the user-interface thread.
class MainWindowPort : public ProgressLog {
 public:
  // Progress log: LogProgress (from ProgressLog) appends, shows the newest text, drops the
  // user's selection and repaints at once.

  // Keypad panel.
  virtual std::string KeypadText() const = 0;
  virtual void SetKeypadText(std::string_view text) = 0;

  // File panel.
  virtual std::string FileNameText() const = 0;
  virtual void SetFileNameText(std::string_view text) = 0;
  virtual void SetFileTypeText(std::string_view text) = 0;

  // Progress bar.
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual int ProgressMaximum() const = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void StepProgress() = 0;

  // Modal message box; returns the button pressed.
  virtual MessageResult ShowMessage(std::string_view text, std::string_view title,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  // Shows one of the guide windows modally; returns when it has closed.
  virtual void ShowModalWindow(ModalWindow window) = 0;
  // The modal open-file dialog: the chosen full path, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) = 0;
  // The toolkit's standard error box (an error that escaped a handler).
  virtual void ShowError(std::string_view text) = 0;
  // Opens the folder in the desktop's file browser. False, with the reason in `error`, when the
  // desktop has no handler for folders or the handler could not be started.
  virtual bool OpenFolder(const std::string& path, std::string& error) = 0;

  // Wait cursor: shows the hourglass; RestoreCursor brings back the cursor shown before.
  // Use WaitCursorGuard rather than calling these directly.
  virtual void ShowWaitCursor() = 0;
  virtual void RestoreCursor() = 0;

  // Paint what is invalid now, without waiting for the message loop.
  virtual void RepaintNow() = 0;
  // Let queued messages run, then go on.
  virtual void ProcessPendingMessages() = 0;
  // Pause through the program's clock; the window keeps painting.
  virtual void Pause(Milliseconds duration) = 0;

  // Main window chrome used by the start-up sequence and the Options menu.
  virtual void SetCaption(std::string_view caption) = 0;
  virtual void SetMethodTicks(bool standard, bool tmode, bool flashDrive) = 0;
  // Enables or disables the main window's commands (disabled while a command or flow runs).
  virtual void SetCommandsEnabled(bool enabled) = 0;
  // Closes the main window, which ends the program.
  virtual void CloseMainWindow() = 0;
  // Starts the one-shot tmrTModeDownload: 100 ms later, once the modal window that started it
  // has closed, the main window runs MainWindowCommands::tmrTModeDownloadTimer.
  virtual void StartTModeDownloadTimer() = 0;
};

// Shows the wait cursor for its lifetime and always restores the cursor shown before.
class WaitCursorGuard {
 public:
  explicit WaitCursorGuard(MainWindowPort& port) : port_(port) { port_.ShowWaitCursor(); }
  ~WaitCursorGuard() { port_.RestoreCursor(); }
  WaitCursorGuard(const WaitCursorGuard&) = delete;
  WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;

 private:
  MainWindowPort& port_;
};

}  // namespace tdxx
