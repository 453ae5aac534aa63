#include "cli/ConsolePort.h"

#include <ostream>

#include "files/NarrowText.h"

namespace tdxx::cli {

void ConsolePort::LogProgress(std::string_view text) {
  log_.append(text);
  if (terminal_ != nullptr)
    terminal_->Log(text);
}

void ConsolePort::SetProgressMaximum(int maximum) {
  progressMaximum_ = maximum;
  if (terminal_ != nullptr)
    terminal_->Progress(progressPosition_, progressMaximum_);
}

void ConsolePort::SetProgressPosition(int position) {
  progressPosition_ = position;
  if (terminal_ != nullptr)
    terminal_->Progress(progressPosition_, progressMaximum_);
}

MessageResult ConsolePort::ShowMessage(std::string_view text, std::string_view title,
                                       MessageIcon icon, MessageButtons buttons) {
  Note(ForTerminal(title) + ": " + ForTerminal(text));
  MessageResult answer = MessageResult::Ok;
  if (buttons == MessageButtons::YesNo)
    answer = answerQuestion_ ? answerQuestion_(text, title) : MessageResult::No;
  messages_.push_back({std::string(title), std::string(text), icon, answer});
  return answer;
}

void ConsolePort::ShowModalWindow(ModalWindow window) {
  windows_.push_back(window);
  if (onModal_)
    onModal_(window);
}

void ConsolePort::ShowError(std::string_view text) {
  Note(ForTerminal(text));
}

void ConsolePort::Note(std::string_view utf8Line) {
  if (terminal_ != nullptr) {
    terminal_->Note(utf8Line);
  } else {
    errors_ << utf8Line << "\n" << std::flush;
  }
}

std::string ForTerminal(std::string_view narrow) {
  return NarrowToDisplayLines(narrow);
}

}  // namespace tdxx::cli
