#pragma once

#include <string>
#include <vector>

namespace tdxx {

// The windowed program's command line, read before the toolkit starts (so that --help,
// --version and a usage error need no display):
// --simulate=KIND[,KIND...] (or --simulate KIND[,KIND...], repeatable) binds simulated devices
// instead of the HID library; --record-hid=FILE (or --record-hid FILE) writes every HID call to
// FILE as JSON lines; --keys=FILE (or --keys FILE) opens the Key Map window on FILE; -h/--help
// and --version; "--" ends the options. The toolkit's own options (-platform NAME, -display
// DISPLAY, -style NAME, ...) are passed over and left to it. Any other word beginning with '-'
// is an unknown option; everything else is an argument (the data file), kept byte for byte.
struct ProgramOptions {
  std::vector<std::string> simulatedKinds;
  // Where --record-hid writes; empty when not recording.
  std::string recordHidPath;
  // The key-definition file --keys opens in the Key Map window; empty when not given.
  std::string keysFile;
  std::vector<std::string> arguments;
  bool showHelp = false;
  bool showVersion = false;
  // A toolkit option names the window system to use (-platform or -display).
  bool toolkitWindowSystemGiven = false;
  // Set when the command line cannot be used; the program then says so and exits with 2.
  std::string error;
};

ProgramOptions ParseProgramOptions(int argc, const char* const* argv);

// What --help prints: the usage, every option, the exit statuses; lines of at most 80 columns.
std::string ProgramHelpText();
// What --version prints: "tdxxload " and the version.
std::string ProgramVersionText();

// Why no window can be opened, or empty when one may be: without a -platform or -display option,
// a window system is reachable only through QT_QPA_PLATFORM, DISPLAY or WAYLAND_DISPLAY.
// `getenv` reads the environment.
std::string MissingWindowSystem(const ProgramOptions& options,
                                const char* (*getenv)(const char* name));

}  // namespace tdxx
