#include "cli/CommandOutcome.h"

namespace tdxx::cli {

const std::vector<OutcomeRule>& OutcomeRules() {
  static const std::vector<OutcomeRule> rules = {
      {OutcomePlace::MessageText, "Success!", Outcome::Success},
      {OutcomePlace::MessageTitle, "Success!", Outcome::Success},
      {OutcomePlace::MessageTitle, "SUCCESS!", Outcome::Success},
      {OutcomePlace::Log, "\r\nBootloader: Activated.", Outcome::Success},
      {OutcomePlace::MessageText, "Failure!", Outcome::Failure},
      {OutcomePlace::MessageTitle, "Failure!", Outcome::Failure},
      {OutcomePlace::MessageTitle, "Conflict", Outcome::Failure},
      {OutcomePlace::Log, "FAIL", Outcome::Failure},
  };
  return rules;
}

namespace {

bool Matches(const OutcomeRule& rule, const ShownMessage& message) {
  switch (rule.place) {
    case OutcomePlace::MessageTitle:
      return message.title.find(rule.pattern) != std::string::npos;
    case OutcomePlace::MessageText:
      return message.text.starts_with(rule.pattern);
    case OutcomePlace::Log:
      return false;
  }
  return false;
}

}  // namespace

Outcome ClassifyOutcome(const std::vector<ShownMessage>& messages, std::string_view log,
                        const std::vector<OutcomeRule>& rules) {
  bool success = false;
  for (const OutcomeRule& rule : rules) {
    bool found = rule.place == OutcomePlace::Log && log.find(rule.pattern) != std::string::npos;
    for (const ShownMessage& message : messages)
      found = found || Matches(rule, message);
    if (found && rule.outcome == Outcome::Failure)
      return Outcome::Failure;
    success = success || (found && rule.outcome == Outcome::Success);
  }
  return success ? Outcome::Success : Outcome::Unknown;
}

bool QuestionRefused(const std::vector<ShownMessage>& messages) {
  for (const ShownMessage& message : messages) {
    if (message.answer == MessageResult::No)
      return true;
  }
  return false;
}

}  // namespace tdxx::cli
