#pragma once

#include <string>
#include <vector>

namespace tdxx {

// The windowed program's command line, once the toolkit has taken its own options out:
// --simulate=KIND[,KIND...] (or --simulate KIND[,KIND...], repeatable) binds simulated devices
// instead of the HID library; "--" ends the options; everything else is an argument (the data
// file), kept byte for byte.
struct ProgramOptions {
  std::vector<std::string> simulatedKinds;
  std::vector<std::string> arguments;
  // Set when the command line cannot be used; the program then says so and exits with 2.
  std::string error;
};

ProgramOptions ParseProgramOptions(int argc, const char* const* argv);

}  // namespace tdxx
