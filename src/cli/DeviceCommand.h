#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "app/Application.h"
#include "cli/ConsolePort.h"
#include "cli/QuestionAnswer.h"

namespace tdxx::cli {

enum class DeviceAction { Download, Erase, Reboot, Bootloader };

struct DeviceCommandOptions {
  DeviceAction action = DeviceAction::Download;
  // The download method for this run only (0 standard, 1 PRG/TMode, 2 flash drive); the saved
  // one when empty.
  std::optional<std::int32_t> method;
  QuestionPolicy questions = QuestionPolicy::Ask;
  bool interactive = false;  // standard input is a terminal
  // Seconds the PRG/TMode guide looks for a keypad; below 0 it does not look.
  int waitSeconds = -1;
  bool json = false;
  // Download only: print what would be sent instead of sending it (DryRun.h).
  bool dryRun = false;
};

// Runs one device command as the window would: the start-up sequence (which loads the data
// file named in app.environment.arguments), detection without keeping the device open, then
// for Download the start-up automation's download with a second pass when the first only
// switched the device to its bootloader; for the others their command. Without `json` the log
// streams through the port's terminal output; with it one object goes to `out` at the end.
// Returns the exit status (CommandOutcome.h). A download with dryRun runs RunDownloadDryRun.
int RunDeviceCommand(Application& app, ConsolePort& port, const DeviceCommandOptions& options,
                     std::istream& in, std::ostream& out, std::ostream& errors);

}  // namespace tdxx::cli
