#include "cli/QuestionAnswer.h"

#include <istream>
#include <ostream>
#include <string>

namespace tdxx::cli {

MessageResult AnswerQuestion(QuestionPolicy policy, bool interactive, std::istream& in,
                             std::ostream& prompt, std::string_view question) {
  if (policy == QuestionPolicy::Yes)
    return MessageResult::Yes;
  if (policy == QuestionPolicy::No)
    return MessageResult::No;
  if (!interactive) {
    prompt << "Answered No: standard input is not a terminal. Pass --yes to answer Yes.\n"
           << std::flush;
    return MessageResult::No;
  }
  prompt << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(in, answer)) {
    prompt << "\n";  // no answer came: the next line starts on its own
    return MessageResult::No;
  }
  for (char& c : answer)
    c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return answer == "y" || answer == "yes" ? MessageResult::Yes : MessageResult::No;
}

}  // namespace tdxx::cli
