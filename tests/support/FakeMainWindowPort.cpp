#include "FakeMainWindowPort.h"

namespace tdxx::test {

void FakeMainWindowPort::LogProgress(std::string_view text) {
  log.append(text);
  ++repaints;
}

void FakeMainWindowPort::SetKeypadText(std::string_view text) {
  keypadText = std::string(text);
  keypadHistory.push_back(keypadText);
}

MessageResult FakeMainWindowPort::ShowMessage(std::string_view text, std::string_view title,
                                              MessageIcon icon, MessageButtons buttons) {
  messages.push_back(Message{std::string(text), std::string(title), icon, buttons});
  if (scriptedAnswers.empty()) {
    return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
  }
  MessageResult answer = scriptedAnswers.front();
  scriptedAnswers.pop_front();
  return answer;
}

void FakeMainWindowPort::ShowModalWindow(ModalWindow window) {
  modalWindows.push_back(window);
  modalTimes.push_back(clock_.Now());
  if (onModal)
    onModal(window);
}

std::optional<std::string> FakeMainWindowPort::ChooseFileToOpen(const OpenFileRequest& request) {
  openRequests.push_back(request);
  return nextOpenChoice;
}

bool FakeMainWindowPort::OpenFolder(const std::string& path, std::string& error) {
  openedFolders.push_back(OpenedFolder{path, clock_.Now()});
  if (openFolderError) {
    error = *openFolderError;
    return false;
  }
  return true;
}

void FakeMainWindowPort::Pause(Milliseconds duration) {
  pauses.push_back(duration);
  if (onPause)
    onPause(duration);
  clock_.Pause(duration);
}

void FakeMainWindowPort::SetMethodTicks(bool standard, bool tmode, bool flashDrive) {
  tickStandard = standard;
  tickTMode = tmode;
  tickFlashDrive = flashDrive;
}

void FakeMainWindowPort::SetCommandsEnabled(bool enabled) {
  commandsEnabled = enabled;
  commandsEnabledHistory.push_back(enabled);
}

}  // namespace tdxx::test
