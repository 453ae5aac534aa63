#pragma once

#include <string>

#include "app/Application.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// Loads the one data file named on the command line, as the start-up sequence does before the
// window is shown: the log starts with "Open data file (from command line):", the file panel
// shows the argument as given, and the reader for its extension fills the images. Problems are
// told in the log only.
void LoadCommandLineFile(Application& app, MainWindowPort& port, const std::string& argument);

// The start-up automation downloads when a command-line file left something to send: key
// definitions with at least one key, a flash-drive copy file, or a firmware file.
bool StartupDownloadWanted(const MainWindowState& state);

}  // namespace tdxx
