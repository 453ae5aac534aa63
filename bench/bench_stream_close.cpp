// The report stream on the real clock: 100 bytes queued in 'T' (15 reports), 110 ms, then
// CloseStream. Prints how many reports reached the simulated device and how far each one was
// from its due time (one report every 10 ms from the first; goal: all 15, each within 1 ms),
// and whether a second connection's detection during the open stream left it alone (the
// interface lock: it names the device and sends it nothing).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "hid/HidTransport.h"
#include "sim/SimulatedBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/Simulation.h"

int main() {
  using namespace std::chrono_literals;
  tdxx::SystemClock clock;
  std::string error;
  auto simulation = tdxx::sim::Simulation::Create({"prg-tmode"}, clock, error);
  if (!simulation) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  tdxx::HidTransport transport(simulation->binder(), clock);
  if (transport.FindKeypad(false) != 9 || transport.OpenStream(tdxx::ReportMode::T)) {
    std::fprintf(stderr, "could not open the stream\n");
    return 1;
  }
  tdxx::sim::SimulatedDevice& device = simulation->device(0);

  // Another program looks for devices while the stream is open.
  const int opensBefore = device.openCount();
  tdxx::HidTransport other(simulation->binder(), clock);
  const tdxx::DeviceKind seen = other.FindKeypad(false);
  const bool leftAlone =
      seen == 9 && other.busyPaths().size() == 1 && device.openCount() == opensBefore;

  device.ClearRecordings();
  std::vector<std::uint8_t> hundred(100);
  std::iota(hundred.begin(), hundred.end(), std::uint8_t{0});
  transport.SendBytes(hundred.data(), hundred.size());
  clock.Pause(110ms);
  transport.CloseStream();

  const auto reports = device.outputReports();
  long long worst = 0;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const auto due = reports.front().time + static_cast<long long>(i) * 10ms;
    worst = std::max(worst, static_cast<long long>(std::llabs((reports[i].time - due).count())));
  }
  std::printf(
      "stream close: %zu of 15 reports on the wire, worst %lld ms from its due time "
      "(goal: 15, within 1 ms)\n",
      reports.size(), worst);
  std::printf("detection by a second connection during the open stream: %s\n",
              leftAlone ? "named the device, opened nothing" : "DISTURBED the stream");
  return reports.size() == 15 && leftAlone ? 0 : 1;
}
