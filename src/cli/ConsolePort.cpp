#include "cli/ConsolePort.h"

#include <ostream>

#include "files/NarrowText.h"

namespace tdxx::cli {

MessageResult ConsolePort::ShowMessage(std::string_view text, std::string_view title, MessageIcon,
                                       MessageButtons buttons) {
  errors_ << ForTerminal(title) << ": " << ForTerminal(text) << "\n";
  return buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
}

void ConsolePort::ShowError(std::string_view text) {
  errors_ << ForTerminal(text) << "\n";
}

std::string ForTerminal(std::string_view narrow) {
  return NarrowToDisplayLines(narrow);
}

}  // namespace tdxx::cli
