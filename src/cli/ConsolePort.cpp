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
  std::string lines;
  lines.reserve(narrow.size());
  for (std::size_t i = 0; i < narrow.size(); ++i) {
    if (narrow[i] == '\r') {
      lines.push_back('\n');
      if (i + 1 < narrow.size() && narrow[i + 1] == '\n')
        ++i;
    } else {
      lines.push_back(narrow[i]);
    }
  }
  return NarrowToDisplayUtf8(lines);
}

}  // namespace tdxx::cli
