#pragma once

#include <iosfwd>
#include <string_view>

#include "protocol/MainWindowPort.h"

namespace tdxx::cli {

// How the front end answers a Yes/No question: --yes, --no, or neither.
enum class QuestionPolicy { Ask, Yes, No };

// --yes and --no answer at once; otherwise `question` is asked on a terminal (`interactive`:
// standard input is one) and answered Yes only by "y" or "yes"; without a terminal it is No,
// and a line on `prompt` says to pass --yes.
MessageResult AnswerQuestion(QuestionPolicy policy, bool interactive, std::istream& in,
                             std::ostream& prompt, std::string_view question = "Yes or no?");

}  // namespace tdxx::cli
