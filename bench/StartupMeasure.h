#pragma once

#include <string>
#include <vector>

namespace tdxx::bench {

// What one start of a program showed: the time from the launch to the X server's MapNotify of its
// first top-level window, and its memory at that moment and a little later (the first paints
// and anything put off until after the map are in the later figure).
struct StartupSample {
  double mapMs = 0.0;
  // Processor time the program used over the whole run (up to the later memory figure), all
  // its threads: steadier than the time to map on a busy machine.
  double cpuMs = 0.0;
  long rssKbAtMap = 0;
  long hwmKbAtMap = 0;
  long rssKbSettled = 0;
};

struct LaunchSettings {
  std::string display;
  // HOME of the programs: the windowed program makes its folders under the documents folder.
  std::string home;
  // How long after the map the later memory figure is read (before tdxxload's 1 s start-up
  // timer runs detection).
  int settleMs = 500;
  int timeoutMs = 20000;
  // When set, each program's /proc/PID/smaps at its map is copied there as NAME.smaps (the
  // last run's), to see which libraries, files and heaps the memory is in.
  std::string smapsFolder;
};

// Starts `argv` (argv[0] a path) on the display with the xcb platform plugin, waits for its first
// window to map, reads its memory and ends it. False with `error` set when it did not map.
bool MeasureStartup(const std::vector<std::string>& argv, const LaunchSettings& settings,
                    StartupSample& sample, std::string& error);

}  // namespace tdxx::bench
