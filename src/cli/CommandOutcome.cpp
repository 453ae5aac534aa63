#include "cli/CommandOutcome.h"

namespace tdxx::cli {

const std::vector<OutcomeRule>& OutcomeRules() {
  using enum OutcomePlace;
  static const std::vector<OutcomeRule> rules = {
      // Refusals: the command stopped before it sent anything to the device.
      {MessageText, "No keypad/keyboard found!", Outcome::Refused},
      {MessageText, "Plug in your keypad and click \"Connect\" to continue.", Outcome::Refused},
      {MessageText, "Download failed! Keypad not attached", Outcome::Refused},
      {MessageText, "You are in Bootloader mode.", Outcome::Refused},
      {MessageText, "This command cannot execute because your device is in", Outcome::Refused},
      {MessageText, "Download aborted!", Outcome::Refused},
      {MessageText, "Erase aborted!", Outcome::Refused},
      {MessageText, "Reboot aborted!", Outcome::Refused},
      {MessageText, "Action aborted!", Outcome::Refused},
      {MessageText, "Tasterdeck 91x does not support this erase method.", Outcome::Refused},
      {MessageText, "Slimkey 947 bootloader must be activated manually.", Outcome::Refused},
      {MessageText, "Your device does not support", Outcome::Refused},
      {MessageTitle, "Download Mismatch", Outcome::Refused},
      {MessageTitle, "Reboot Not Supported", Outcome::Refused},
      {Log, "\r\nBIN file must use Flash Drive Copy method", Outcome::Refused},
      {Log, "\r\nLaunch Bootloader HALTED:", Outcome::Refused},
      {Log, "\r\nCanceled.\r\n", Outcome::Refused},
      // Successes and failures of the flows that ran.
      {MessageText, "Success!", Outcome::Success},
      {MessageTitle, "Success!", Outcome::Success},
      {MessageTitle, "SUCCESS!", Outcome::Success},
      {Log, "\r\nBootloader: Activated.", Outcome::Success},
      {MessageText, "Failure!", Outcome::Failure},
      {MessageText, "Failed!", Outcome::Failure},
      {MessageTitle, "Failure!", Outcome::Failure},
      {Log, "FAIL", Outcome::Failure},
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

int Weight(Outcome outcome) {
  switch (outcome) {
    case Outcome::Unknown:
      return 0;
    case Outcome::Success:
      return 1;
    case Outcome::Failure:
      return 2;
    case Outcome::Refused:
      return 3;
  }
  return 0;
}

}  // namespace

Outcome ClassifyOutcome(const std::vector<ShownMessage>& messages, std::string_view log,
                        const std::vector<OutcomeRule>& rules) {
  Outcome outcome = Outcome::Unknown;
  for (const OutcomeRule& rule : rules) {
    bool found = rule.place == OutcomePlace::Log && log.find(rule.pattern) != std::string::npos;
    for (const ShownMessage& message : messages)
      found = found || Matches(rule, message);
    if (found && Weight(rule.outcome) > Weight(outcome))
      outcome = rule.outcome;
  }
  return outcome;
}

bool QuestionRefused(const std::vector<ShownMessage>& messages) {
  for (const ShownMessage& message : messages) {
    if (message.answer == MessageResult::No)
      return true;
  }
  return false;
}

}  // namespace tdxx::cli
