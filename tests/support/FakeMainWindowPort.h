#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "protocol/MainWindowPort.h"

namespace tdxx::test {

// Records everything a command or flow asks of the main window. Message boxes answer from a
// queue of scripted results (OK when empty); the open-file dialog answers from `nextOpenChoice`.
class FakeMainWindowPort final : public MainWindowPort {
 public:
  explicit FakeMainWindowPort(Clock& clock) : clock_(clock) {}

  struct Message {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;
  };

  // ProgressLog
  void LogProgress(std::string_view text) override;

  std::string KeypadText() const override { return keypadText; }
  void SetKeypadText(std::string_view text) override;
  std::string FileNameText() const override { return fileNameText; }
  void SetFileNameText(std::string_view text) override { fileNameText = std::string(text); }
  void SetFileTypeText(std::string_view text) override { fileTypeText = std::string(text); }

  void SetProgressMaximum(int maximum) override {
    progressMaximum = maximum;
    progressMaximumHistory.push_back(maximum);
  }
  int ProgressMaximum() const override { return progressMaximum; }
  void SetProgressPosition(int position) override { progressPosition = position; }
  void StepProgress() override { ++progressPosition; }

  MessageResult ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                            MessageButtons buttons) override;
  // Records the window, then lets `onModal` play the user's part in it.
  void ShowModalWindow(ModalWindow window) override;
  std::optional<std::string> ChooseFileToOpen(const OpenFileRequest& request) override;
  void ShowError(std::string_view text) override { errors.emplace_back(text); }
  // Records the folder with the virtual time; fails with `openFolderError` when that is set.
  bool OpenFolder(const std::string& path, std::string& error) override;

  void ShowWaitCursor() override {
    ++waitCursorDepth;
    ++waitCursorShown;
  }
  void RestoreCursor() override { --waitCursorDepth; }
  void RepaintNow() override { ++repaints; }
  void ProcessPendingMessages() override { ++pendingMessageRuns; }
  void Pause(Milliseconds duration) override;

  void SetCaption(std::string_view text) override { caption = std::string(text); }
  void SetMethodTicks(bool standard, bool tmode, bool flashDrive) override;
  void SetCommandsEnabled(bool enabled) override;
  void CloseMainWindow() override { ++closeRequests; }
  void StartTModeDownloadTimer() override { ++tmodeTimerStarts; }

  // Recorded state.
  std::string log;
  std::string keypadText = "\r\n";  // one empty line at start, as the window has
  std::vector<std::string> keypadHistory;
  std::string fileNameText;
  std::string fileTypeText;
  int progressMaximum = 48;
  int progressPosition = 0;
  std::vector<int> progressMaximumHistory;
  std::vector<Message> messages;
  std::deque<MessageResult> scriptedAnswers;
  std::vector<ModalWindow> modalWindows;
  std::vector<OpenFileRequest> openRequests;
  std::optional<std::string> nextOpenChoice;
  std::vector<std::string> errors;
  struct OpenedFolder {
    std::string path;
    ClockDuration time;
  };
  std::vector<OpenedFolder> openedFolders;
  std::optional<std::string> openFolderError;
  int waitCursorDepth = 0;
  int waitCursorShown = 0;
  int repaints = 0;
  int pendingMessageRuns = 0;
  std::vector<Milliseconds> pauses;
  std::string caption;
  bool tickStandard = true, tickTMode = false, tickFlashDrive = false;
  bool commandsEnabled = true;
  std::vector<bool> commandsEnabledHistory;
  int closeRequests = 0;
  int tmodeTimerStarts = 0;
  // Called at the start of every Pause, before time moves (nothing when empty).
  std::function<void(Milliseconds)> onPause;
  // What the user does in a modal window while it is shown (nothing when empty).
  std::function<void(ModalWindow)> onModal;
  // Virtual time when each modal window was shown, in order.
  std::vector<ClockDuration> modalTimes;

 private:
  Clock& clock_;
};

}  // namespace tdxx::test
