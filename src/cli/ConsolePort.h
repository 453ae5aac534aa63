#pragma once

#include <functional>
#include <iosfwd>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/TerminalOutput.h"
#include "hid/Clock.h"
#include "protocol/MainWindowPort.h"

namespace tdxx::cli {

// A message box as the front end showed it, with the button that answered it.
struct ShownMessage {
  std::string title;
  std::string text;
  MessageIcon icon;
  MessageResult answer;
};

// The main window's services for the command-line front end: the log and the panels are kept
// as texts for the caller to print; message boxes go to the error stream as "TITLE: text" and
// are recorded; the one question is answered by `answerQuestion` (No when none is set); there
// is no dialog to choose a file in. With a terminal output the log and the progress bar stream
// there as they change.
class ConsolePort final : public MainWindowPort {
 public:
  using QuestionAnswerer =
      std::function<MessageResult(std::string_view text, std::string_view title)>;
  using ModalWindowHandler = std::function<void(ModalWindow)>;

  ConsolePort(Clock& clock, std::ostream& errors) : clock_(clock), errors_(errors) {}

  void SetTerminal(TerminalOutput* terminal) { terminal_ = terminal; }
  TerminalOutput* terminal() const { return terminal_; }
  void SetQuestionAnswerer(QuestionAnswerer answerer) { answerQuestion_ = std::move(answerer); }
  void SetModalWindowHandler(ModalWindowHandler handler) { onModal_ = std::move(handler); }

  void LogProgress(std::string_view text) override;
  std::string KeypadText() const override { return keypadText_; }
  void SetKeypadText(std::string_view text) override { keypadText_ = std::string(text); }
  std::string FileNameText() const override { return fileNameText_; }
  void SetFileNameText(std::string_view text) override { fileNameText_ = std::string(text); }
  void SetFileTypeText(std::string_view) override {}

  void SetProgressMaximum(int maximum) override;
  int ProgressMaximum() const override { return progressMaximum_; }
  void SetProgressPosition(int position) override;
  void StepProgress() override { SetProgressPosition(progressPosition_ + 1); }

  MessageResult ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                            MessageButtons buttons) override;
  // Records the window and lets the handler play it; returns when it has "closed".
  void ShowModalWindow(ModalWindow window) override;
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
  // No timer runs here; the caller takes the request and runs the download itself.
  void StartTModeDownloadTimer() override { tmodeDownloadRequested_ = true; }
  bool tmodeDownloadRequested() const { return tmodeDownloadRequested_; }
  // True once per start of the timer.
  bool TakeTModeDownloadRequest() { return std::exchange(tmodeDownloadRequested_, false); }

  // A line for the error stream, kept clear of the progress bar.
  void Note(std::string_view utf8Line);

  const std::string& log() const { return log_; }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  const std::vector<ModalWindow>& windows() const { return windows_; }

 private:
  Clock& clock_;
  std::ostream& errors_;
  TerminalOutput* terminal_ = nullptr;
  QuestionAnswerer answerQuestion_;
  ModalWindowHandler onModal_;
  std::string log_;
  std::string keypadText_ = "\r\n";
  std::string fileNameText_;
  int progressMaximum_ = 48;
  int progressPosition_ = 0;
  bool tmodeDownloadRequested_ = false;
  std::vector<ShownMessage> messages_;
  std::vector<ModalWindow> windows_;
};

// A narrow text for a terminal: CR LF pairs and lone CRs become line feeds, bytes that are not
// UTF-8 their Latin-1 characters.
std::string ForTerminal(std::string_view narrow);

}  // namespace tdxx::cli
