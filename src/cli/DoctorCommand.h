#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/AppEnvironment.h"
#include "hid/Clock.h"
#include "hid/HidApi.h"
#include "protocol/KeypadDriveLocator.h"

namespace tdxx::cli {

// The folders udev reads rules from, in the order doctor looks.
inline const std::vector<std::string> kUdevRuleFolders = {
    "/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
inline constexpr const char* kUdevRuleName = "70-tdxxload.rules";

// What doctor looks at; the program entry fills it from the real system, tests from fakes.
struct DoctorSetup {
  DoctorSetup(HidLibraryBinder& binderIn, Clock& clockIn, KeypadDriveLocator& driveIn)
      : binder(binderIn), clock(clockIn), drive(driveIn) {}
  HidLibraryBinder& binder;
  Clock& clock;
  KeypadDriveLocator& drive;
  // The documents folder chain is the one the start-up would use for this environment.
  AppEnvironment environment;
  std::vector<std::string> ruleFolders = kUdevRuleFolders;
  // As --device: only this interface is looked at; empty for all.
  std::string deviceFilter;
};

// One check: what it found, and when it does not hold (or needs a word), how to mend it.
struct DoctorCheck {
  std::string name;
  bool ok = false;
  std::string found;
  std::string mend;
};

// Runs every check: the HID library, the udev rule, each attached keypad or bootloader
// interface, the documents folder chain, the keypad's drive (a missing drive holds).
std::vector<DoctorCheck> RunDoctorChecks(DoctorSetup& setup);

// 0 when every check holds, 1 otherwise.
int DoctorExitCode(const std::vector<DoctorCheck>& checks);

// Prints the checks (a line each, and the mend under those that fail), or with `json` one
// object {"checks":[{"name","ok","found","mend"}...],"exitCode"}; returns DoctorExitCode.
int RunDoctor(DoctorSetup& setup, bool json, std::ostream& out);

}  // namespace tdxx::cli
