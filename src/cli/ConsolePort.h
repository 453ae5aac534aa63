#pragma once

#include <ostream>
#include <string>

#include "hid/Clock.h"
#include "protocol/MainWindowPort.h"

namespace tdxx::cli {

// The main window's services for the command-line front end: the log and the panels are kept
// as texts for the caller to print; message boxes go to the error stream and answer with their
// default button; there is no dialog to choose a file in.
class ConsolePort final : public MainWindowPort {
 public:
  ConsolePort(Clock& clock, std::ostream& errors) : clock_(clock), errors_(errors) {}

  void LogProgress(std::string_view text) override { log_.append(text); }
  std::string KeypadText() const override { return keypadText_; }
  void SetKeypadText(std::string_view text) override { keypadText_ = std::string(text); }
  std::string FileNameText() const override { return fileNameText_; }
  void SetFileNameText(std::string_view text) override { fileNameText_ = std::string(text); }
  void SetFileTypeText(std::string_view) override {}

  void SetProgressMaximum(int maximum) override { progressMaximum_ = maximum; }
  int ProgressMaximum() const override { return progressMaximum_; }
  void SetProgressPosition(int) override {}
  void StepProgress() override {}

  MessageResult ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                            MessageButtons buttons) override;
  void ShowModalWindow(ModalWindow) override {}
  std::optional<std::string> ChooseFileToOpen(const OpenFileRequest&) override {
    return std::nullopt;
  }
  void ShowError(std::string_view text) override;
  // There is no file browser here: the folder's path goes to the error stream for the user.
  bool OpenFolder(const std::string& path, std::string&) override {
    errors_ << "Folder: " << path << '\n';
    return true;
  }

  void ShowWaitCursor() override {}
  void RestoreCursor() override {}
  void RepaintNow() override {}
  void ProcessPendingMessages() override {}
  void Pause(Milliseconds duration) override { clock_.Pause(duration); }

  void SetCaption(std::string_view) override {}
  void SetMethodTicks(bool, bool, bool) override {}
  void SetCommandsEnabled(bool) override {}
  void CloseMainWindow() override {}
  // No timer runs here; the caller looks at the request and runs the download itself.
  void StartTModeDownloadTimer() override { tmodeDownloadRequested_ = true; }
  bool tmodeDownloadRequested() const { return tmodeDownloadRequested_; }

  const std::string& log() const { return log_; }

 private:
  Clock& clock_;
  std::ostream& errors_;
  std::string log_;
  std::string keypadText_ = "\r\n";
  std::string fileNameText_;
  int progressMaximum_ = 48;
  bool tmodeDownloadRequested_ = false;
};

// A narrow text for a terminal: CR LF pairs and lone CRs become line feeds, bytes that are not
// UTF-8 their Latin-1 characters.
std::string ForTerminal(std::string_view narrow);

}  // namespace tdxx::cli
