// How closely the key downloads keep to the pauses the keypads need, on the real clock: the
// standard download of a 24-key file to a simulated TD-A and the PRG/TMode download of 10 keys
// to a simulated keypad in PRG/TMode, as the command-line front end runs them. For each it
// prints the time from the device's first to its last write, less the time spent inside the
// device calls, over the pauses the protocol mandates across that span (goal: at most 1.02: a
// faster host is a broken host, a slower one wastes the user's time), and the processor time
// per second of download (goal: under 2% of a core).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "DownloadPacing.h"
#include "app/Application.h"
#include "cli/ConsolePort.h"
#include "cli/DeviceCommand.h"
#include "files/KeyDefinitionReader.h"
#include "hid/Clock.h"
#include "sim/SimulatedBus.h"
#include "sim/Simulation.h"

namespace {

using namespace std::chrono_literals;
using tdxx::bench::PacingResult;

// No keypad drive on the benchmark's machine, whatever is plugged in.
class NoDrive final : public tdxx::KeypadDriveLocator {
 public:
  bool FindKeypadDrive() override { return false; }
  const std::string& driveLetter() const override { return none_; }

 private:
  std::string none_;
};

class NullLog final : public tdxx::ProgressLog {
 public:
  void LogProgress(std::string_view) override {}
};

struct Case {
  const char* name;
  const char* device;
  const char* file;
  std::int32_t method;
  int keys;  // keys the device takes
  bool overStream;
};

PacingResult RunInCommandLine(const Case& c, const std::string& folder) {
  PacingResult result;
  result.name = std::string(c.name) + " (command line)";
  tdxx::SystemClock clock;
  std::string error;
  auto simulation = tdxx::sim::Simulation::Create({c.device}, clock, error);
  if (!simulation) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return result;
  }
  tdxx::AppEnvironment environment;
  environment.programFolder = folder + "/program/";
  environment.systemConfigFolder = folder + "/etc/";
  environment.userDocumentsFolder = folder + "/documents";
  environment.arguments = {std::string(TDXX_EXAMPLES_DIR) + "/" + c.file};
  NoDrive drive;
  tdxx::Application app(environment, simulation->binder(), clock, drive);
  std::ostringstream errors;
  tdxx::cli::ConsolePort port(clock, errors);
  tdxx::cli::DeviceCommandOptions options;
  options.method = c.method;
  options.json = true;
  std::istringstream in;
  std::ostringstream out;
  const double cpuBefore = tdxx::bench::CpuSeconds();
  const auto wallBefore = std::chrono::steady_clock::now();
  const int status = tdxx::cli::RunDeviceCommand(app, port, options, in, out, errors);
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  result.cpuPercent = 100.0 * (tdxx::bench::CpuSeconds() - cpuBefore) / wall;
  result.ok = status == 0;

  tdxx::sim::SimulatedDevice& device = simulation->device(0);
  const tdxx::sim::DeviceConfig config = device.config();
  if (c.overStream) {
    // Detection's version queries went over the stream before; the download starts with its
    // first ping (0x40 0x08).
    auto reports = device.outputReports();
    const auto ping = std::find_if(reports.begin(), reports.end(), [](const auto& report) {
      return report.bytes.size() > 3 && report.bytes[2] == 0x40 && report.bytes[3] == 0x08;
    });
    reports.erase(reports.begin(), ping);
    tdxx::bench::MeasureWrites(reports, config.writeTime, false, result);
    result.mandated = tdxx::bench::TModeSpanPauses(app.keyTable, c.keys);
  } else {
    tdxx::bench::MeasureWrites(device.featureReports(), config.featureTime, true, result);
    result.mandated = tdxx::bench::StandardSpanPauses(app.keyTable, c.keys, 15);
  }
  return result;
}

}  // namespace

int main() {
  char folderTemplate[] = "/tmp/tdxx-bench-XXXXXX";
  const char* made = mkdtemp(folderTemplate);
  if (made == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string folder = made;
  const Case cases[] = {
      {"standard, 24 keys, TD-A", "td-a", "td-a-function-keys.ckd", 0, 24, false},
      {"PRG/TMode, 10 keys", "prg-tmode:capacity=10", "td-a-function-keys.ckd", 1, 10, true},
  };
  bool allOk = true;
  for (const Case& c : cases) {
    const PacingResult result = RunInCommandLine(c, folder);
    tdxx::bench::Print(result);
    allOk = allOk && result.ok;
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return allOk ? 0 : 1;
}
