#pragma once

#include <iosfwd>

#include "app/Application.h"
#include "cli/ConsolePort.h"
#include "cli/DeviceCommand.h"

namespace tdxx::cli {

// download --dry-run: loads the data file as the start-up does, finds the device by discovery
// alone (no version query: no report reaches it) and prints what the download would send (the
// flow, the keys, bytes and reports) and the least time it takes from the pauses it must make;
// with options.json one object. Returns 0 when a download would run, 1 when none would (the
// reason is printed), 2 when the file cannot be read, 3 for several devices or no HID library.
int RunDownloadDryRun(Application& app, ConsolePort& port, const DeviceCommandOptions& options,
                      std::ostream& out);

}  // namespace tdxx::cli
