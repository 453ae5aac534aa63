// Processor use of an open report stream with no traffic: opens a stream to a simulated
// bootloader on real time, waits a few seconds and prints the process's CPU time over that
// span (getrusage). The pump threads must not busy-wait: the target is under 2% of one core.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "hid/Clock.h"
#include "hid/HidTransport.h"
#include "sim/Simulation.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 3;
  tdxx::SystemClock clock;
  std::string error;
  auto simulation = tdxx::sim::Simulation::Create({"tds-bootloader"}, clock, error);
  if (!simulation) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  tdxx::HidTransport transport(simulation->binder(), clock);
  if (transport.FindKeypad(false) != 7 || transport.OpenStream(tdxx::ReportMode::U)) {
    std::fprintf(stderr, "could not open the stream\n");
    return 1;
  }
  const double cpuBefore = CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  const double cpu = CpuSeconds() - cpuBefore;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  transport.CloseStream();
  std::printf("idle stream: %.3f s CPU in %.3f s = %.2f%% of one core\n", cpu, wall,
              100.0 * cpu / wall);
  return 0;
}
