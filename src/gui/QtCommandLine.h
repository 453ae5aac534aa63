#pragma once

#include <string>
#include <vector>

namespace tdxx {

// The windowed program's command line, once the toolkit has taken its own options out:
// --simulate=KIND[,KIND...] (or --simulate KIND[,KIND...], repeatable) binds simulated devices
// instead of the HID library; --record-hid=FILE (or --record-hid FILE) writes every HID call to
// FILE as JSON lines; --keys=FILE (or --keys FILE) opens the Key Map window on FILE; "--" ends
// the options; everything else is an argument (the data
// file), kept byte for byte.
struct ProgramOptions {
  std::vector<std::string> simulatedKinds;
  // Where --record-hid writes; empty when not recording.
  std::string recordHidPath;
  // The key-definition file --keys opens in the Key Map window; empty when not given.
  std::string keysFile;
  std::vector<std::string> arguments;
  // Set when the command line cannot be used; the program then says so and exits with 2.
  std::string error;
};

ProgramOptions ParseProgramOptions(int argc, const char* const* argv);

}  // namespace tdxx
