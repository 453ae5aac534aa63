#pragma once

#include <string_view>
#include <vector>

#include "cli/ConsolePort.h"

namespace tdxx::cli {

// Exit statuses of download, erase, reboot and bootloader.
inline constexpr int kExitDone = 0;      // the task was done
inline constexpr int kExitFailed = 1;    // a flow ran and failed: the device was talked to
inline constexpr int kExitUsage = 2;     // usage error, or the data file could not be read
inline constexpr int kExitConflict = 3;  // several devices, or no HID library
// Refused before anything was sent (by a box, a log line or a question), or a guide window
// not completed: safe to run again.
inline constexpr int kExitRefused = 4;

// What a command's boxes and log lines tell of its outcome. A refusal outweighs a failure,
// which outweighs a success.
enum class Outcome { Unknown, Success, Failure, Refused };

// Where a rule looks and what it looks for: a message box title containing the pattern, a
// message box text starting with it, or a log containing it.
enum class OutcomePlace { MessageTitle, MessageText, Log };
struct OutcomeRule {
  OutcomePlace place;
  std::string_view pattern;
  Outcome outcome;
};

// The rules for every device command: the refusals of Download, Erase, Reboot and Launch
// Bootloader, which send nothing, and the success and failure texts of the flows.
const std::vector<OutcomeRule>& OutcomeRules();

Outcome ClassifyOutcome(const std::vector<ShownMessage>& messages, std::string_view log,
                        const std::vector<OutcomeRule>& rules = OutcomeRules());

// True when a Yes/No question was answered No.
bool QuestionRefused(const std::vector<ShownMessage>& messages);

}  // namespace tdxx::cli
