// Start-up of the window program against a bare Qt Widgets window of the same size: both are
// started in turn on the same X display (an Xvfb of the benchmark's own unless --display names
// one), and each start is timed from the launch to the X server's MapNotify of its window; the
// resident memory is read from /proc at that moment and again a little later, and the processor
// time of the whole run is taken when the program is ended. Prints the
// absolute figures (medians over the runs) and the two ratios, window program over bare window.
//
//   bench_startup [--runs N] [--display :N] [--program PATH] [--bare PATH] [--smaps DIR]
//                 [-- ARG...]
//
// ARG... go to the window program (for instance --simulate=td-a). --smaps DIR keeps each
// program's memory map at its map (DIR/tdxxload.smaps, DIR/bench_bare_window.smaps). On a busy
// machine the times scatter: the fastest run and the processor time are steadier than the
// median (`nice -n -10 bench_startup` helps too).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "StartupMeasure.h"
#include "VirtualDisplay.h"

namespace {

using tdxx::bench::StartupSample;

double Median(std::vector<double> values) {
  if (values.empty())
    return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

struct Figures {
  double mapMs = 0.0;
  double mapMinMs = 0.0;
  double cpuMs = 0.0;
  double rssMb = 0.0;
  double hwmMb = 0.0;
  double settledMb = 0.0;
};

Figures Summarise(const std::vector<StartupSample>& samples) {
  std::vector<double> map, cpu, rss, hwm, settled;
  for (const StartupSample& sample : samples) {
    map.push_back(sample.mapMs);
    cpu.push_back(sample.cpuMs);
    rss.push_back(static_cast<double>(sample.rssKbAtMap) / 1024.0);
    hwm.push_back(static_cast<double>(sample.hwmKbAtMap) / 1024.0);
    settled.push_back(static_cast<double>(sample.rssKbSettled) / 1024.0);
  }
  Figures figures;
  figures.mapMs = Median(map);
  figures.mapMinMs = map.empty() ? 0.0 : *std::min_element(map.begin(), map.end());
  figures.cpuMs = Median(cpu);
  figures.rssMb = Median(rss);
  figures.hwmMb = Median(hwm);
  figures.settledMb = Median(settled);
  return figures;
}

void PrintFigures(const char* name, const Figures& figures) {
  std::printf(
      "%-9s map %6.1f ms (fastest %6.1f)  CPU %6.1f ms  RSS at map %5.1f MB  HWM %5.1f MB  "
      "RSS settled %5.1f MB\n",
      name, figures.mapMs, figures.mapMinMs, figures.cpuMs, figures.rssMb, figures.hwmMb,
      figures.settledMb);
}

int Usage() {
  std::fprintf(stderr,
               "usage: bench_startup [--runs N] [--display :N] [--program PATH] [--bare PATH] "
               "[--smaps DIR] [-- ARG...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  std::string existingDisplay;
  std::string program = TDXX_WINDOW_PROGRAM;
  std::string bare = TDXX_BARE_WINDOW;
  std::vector<std::string> programArgs;
  std::string smapsFolder;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--runs" && hasValue)
      runs = std::atoi(argv[++i]);
    else if (arg == "--display" && hasValue)
      existingDisplay = argv[++i];
    else if (arg == "--program" && hasValue)
      program = argv[++i];
    else if (arg == "--bare" && hasValue)
      bare = argv[++i];
    else if (arg == "--smaps" && hasValue)
      smapsFolder = argv[++i];
    else if (arg == "--") {
      programArgs.assign(argv + i + 1, argv + argc);
      break;
    } else
      return Usage();
  }
  if (runs < 1)
    return Usage();

  tdxx::bench::VirtualDisplay display;
  std::string error;
  if (!display.Open(existingDisplay, error)) {
    std::fprintf(stderr, "bench_startup: %s\n", error.c_str());
    return 1;
  }
  char homeTemplate[] = "/tmp/tdxx-bench-startup-XXXXXX";
  if (mkdtemp(homeTemplate) == nullptr) {
    std::fprintf(stderr, "bench_startup: cannot make a home folder\n");
    return 1;
  }
  tdxx::bench::LaunchSettings settings;
  settings.display = display.name();
  settings.home = homeTemplate;
  settings.smapsFolder = smapsFolder;

  std::vector<std::string> programArgv{program};
  programArgv.insert(programArgv.end(), programArgs.begin(), programArgs.end());
  const std::vector<std::string> bareArgv{bare};

  std::vector<StartupSample> programSamples, bareSamples;
  int failures = 0;
  // One start of each first, untimed, so that both find the files in the page cache; then the
  // two take turns, each going first in every other run.
  for (int run = -1; run < runs && failures == 0; ++run) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool programTurn = (turn == 0) == (run % 2 == 0);
      StartupSample sample;
      if (!tdxx::bench::MeasureStartup(programTurn ? programArgv : bareArgv, settings, sample,
                                       error)) {
        std::fprintf(stderr, "bench_startup: %s\n", error.c_str());
        ++failures;
        break;
      }
      if (run >= 0)
        (programTurn ? programSamples : bareSamples).push_back(sample);
    }
  }
  std::filesystem::remove_all(settings.home);
  if (failures != 0)
    return 1;

  const Figures ours = Summarise(programSamples);
  const Figures base = Summarise(bareSamples);
  std::printf("display %s%s, %d runs each, medians\n", settings.display.c_str(),
              display.startedServer() ? " (Xvfb)" : "", runs);
  PrintFigures("tdxxload", ours);
  PrintFigures("bare", base);
  std::printf(
      "ratio     time to map %.2f (fastest %.2f, CPU %.2f)   RSS at map %.2f   RSS settled "
      "%.2f   (goal: 1.20 or less)\n",
      ours.mapMs / base.mapMs, ours.mapMinMs / base.mapMinMs, ours.cpuMs / base.cpuMs,
      ours.rssMb / base.rssMb, ours.settledMb / base.settledMb);
  return 0;
}
