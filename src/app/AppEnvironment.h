#pragma once

#include <string>
#include <vector>

#include "app/InstalledConfigFolder.h"

namespace tdxx {

// Where the program runs: filled in by the program entry from the real system, by tests from
// temporary folders.
struct AppEnvironment {
  // Folder of the program file, ending in '/'. A Location.ini there (a portable or build-tree
  // run) is the one read.
  std::string programFolder;
  // The installation's configuration folder, ending in '/': the installed Location.ini, read
  // when there is none beside the program (a package never writes beside /usr/bin).
  std::string systemConfigFolder = InstalledConfigFolder();
  // The current user's documents folder (XDG documents); empty when the system names none.
  std::string userDocumentsFolder;
  // The documents folder shared by all users of the machine.
  std::string sharedDocumentsFolder = "/var/lib/tdxxload";
  // Command-line arguments after the program name (options already taken out).
  std::vector<std::string> arguments;
  // Names of the simulated devices bound instead of the real HID library; empty for hardware.
  std::vector<std::string> simulatedDevices;
};

// "Simulated devices: td-a, wk-c": said first whenever simulated devices stand in for hardware,
// so that nobody mistakes such a run for one on real keypads.
inline std::string SimulatedDevicesLine(const std::vector<std::string>& kinds) {
  std::string line = "Simulated devices: ";
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (i > 0)
      line += ", ";
    line += kinds[i];
  }
  return line;
}

}  // namespace tdxx
