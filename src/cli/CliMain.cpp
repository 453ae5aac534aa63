#include "cli/CliMain.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/Application.h"
#include "app/XdgDocumentsFolder.h"
#include "cli/CommandOutcome.h"
#include "cli/ConsolePort.h"
#include "cli/DataFileReport.h"
#include "cli/DetectCommand.h"
#include "cli/DeviceCommand.h"
#include "cli/DoctorCommand.h"
#include "cli/KeysCommand.h"
#include "hid/Clock.h"
#include "hid/DlopenHidBinder.h"
#include "hid/RecordingHidBinder.h"
#include "methods/KeypadDriveFinder.h"
#include "methods/LinuxDriveSystem.h"
#include "sim/HidReplay.h"
#include "sim/Simulation.h"

namespace tdxx::cli {

namespace {

constexpr int kUsageError = 2;
constexpr std::string_view kReplayPrefix = "replay:";

std::vector<std::string> SplitKinds(const std::string& list) {
  std::vector<std::string> kinds;
  std::stringstream stream(list);
  std::string kind;
  while (std::getline(stream, kind, ',')) {
    if (!kind.empty())
      kinds.push_back(kind);
  }
  return kinds;
}

std::string KnownKindsText() {
  std::string text;
  for (const std::string& kind : sim::Simulation::KnownKinds()) {
    if (!text.empty())
      text += ", ";
    text += kind;
  }
  return text;
}

// The folder of this program file, where Location.ini lives, ending in '/'.
std::string ProgramFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error)
    self = std::filesystem::absolute(argv0 != nullptr ? argv0 : "", error);
  return self.parent_path().string() + "/";
}

constexpr const char* kExitCodesText =
    "Exit status of download, erase, reboot and bootloader:\n"
    "  0  done (download: the keys or firmware were sent; erase, reboot: the success box;\n"
    "     bootloader: the bootloader was found)\n"
    "  1  a flow ran and failed, or nothing was done\n"
    "  2  usage error, or the data file could not be read\n"
    "  3  several devices connected, or no HID library\n"
    "  4  a question answered No, or a guide window not completed\n"
    "inspect: 0 read, 1 not read, 2 usage. detect: 0 found, 1 nothing, 3 several devices.\n"
    "download --dry-run: 0 a download would run, 1 none would, 2 and 3 as above.\n"
    "doctor: 0 everything the loader needs is in place (a missing keypad drive is fine), 1 not.";

// Options shared by the device commands.
struct DeviceOptionsParse {
  bool json = false;
  bool dryRun = false;
  bool yes = false;
  bool no = false;
  int wait = -1;
  std::string method;
};

void AddDeviceOptions(CLI::App* command, DeviceOptionsParse& parse, bool download) {
  command->add_flag("--json", parse.json, "Print one JSON object at the end");
  CLI::Option* yes =
      command->add_flag("--yes", parse.yes, "Answer the question (launch the bootloader) Yes");
  command->add_flag("--no", parse.no, "Answer the question No")->excludes(yes);
  if (download) {
    command
        ->add_option("--method", parse.method,
                     "Download method for this run only (default: the saved one)")
        ->check(CLI::IsMember({"standard", "prg", "flash"}));
    command
        ->add_option("--wait", parse.wait,
                     "PRG/TMode guide: look for the keypad once a second for up to SECONDS")
        ->check(CLI::NonNegativeNumber);
    command->add_flag("--dry-run", parse.dryRun,
                      "Detect the device and print what would be sent (flow, keys, bytes, "
                      "reports) and how long it takes; send nothing");
  }
}

}  // namespace

int RunCli(int argc, char** argv) {
  CLI::App cli{"tdxxload-cli: scriptable front end of the Quorvane keypad file loader"};
  cli.set_version_flag("--version", "tdxxload-cli 1.70");
  cli.require_subcommand(0, 1);

  std::string simulate;
  cli.add_option("--simulate", simulate,
                 "Use simulated devices instead of USB hardware: KIND[,KIND...] of " +
                     KnownKindsText() +
                     "; or replay:FILE plays back a recording made with --record-hid");
  std::string devicePath;
  cli.add_option("--device", devicePath,
                 "Look only at this HID interface (a path as detect --json --all lists it), so "
                 "that several keypads can be programmed at once, one process each");
  std::string recordPath;
  cli.add_option("--record-hid", recordPath,
                 "Write every HID call and its result to FILE as JSON lines (t, fn, path or "
                 "device, out, in, ret, ms)");

  bool inspectJson = false;
  std::string inspectPath;
  CLI::App* inspect = cli.add_subcommand("inspect", "Read a .ckd, .upg or .bin file and show it");
  inspect->add_flag("--json", inspectJson, "Print one JSON object");
  inspect->add_option("FILE", inspectPath, "The data file")->required();

  KeysOptions keysOptions;
  CLI::App* keys = AddKeysSubcommand(cli, keysOptions);

  bool detectJson = false;
  bool detectAll = false;
  CLI::App* detect = cli.add_subcommand("detect", "Find the connected device, as Connect does");
  detect->add_flag("--json", detectJson, "Print one JSON object");
  detect->add_flag("--all", detectAll,
                   "List every attached keypad or bootloader: kind, path, identifiers, whether "
                   "it can be opened and why not");

  bool doctorJson = false;
  CLI::App* doctor = cli.add_subcommand(
      "doctor",
      "Check what the loader needs (HID library, udev rule, permission on each attached "
      "keypad, documents folder, keypad drive) and say how to mend what is missing");
  doctor->add_flag("--json", doctorJson, "Print one JSON object");

  std::string downloadPath;
  DeviceOptionsParse deviceParse;
  CLI::App* download =
      cli.add_subcommand("download",
                         "Load FILE and send it to the device, as the window does with FILE on its "
                         "command line");
  download->add_option("FILE", downloadPath, "The data file (.ckd, .upg or .bin)")->required();
  AddDeviceOptions(download, deviceParse, true);
  CLI::App* erase = cli.add_subcommand("erase", "Erase the keypad's settings, as Erase CKD does");
  AddDeviceOptions(erase, deviceParse, false);
  CLI::App* reboot = cli.add_subcommand("reboot", "Reboot the keypad, as Reboot does");
  AddDeviceOptions(reboot, deviceParse, false);
  CLI::App* bootloader = cli.add_subcommand("bootloader",
                                            "Switch the keypad to its bootloader, as Launch "
                                            "Bootloader does");
  AddDeviceOptions(bootloader, deviceParse, false);
  bool globalJson = false;
  cli.add_flag("--json", globalJson, "Print one JSON object (also after the subcommand)");
  cli.footer(kExitCodesText);

  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e) == 0 ? 0 : kUsageError;
  }

  if (inspect->parsed()) {
    inspectJson = inspectJson || globalJson;
    return RunInspect(inspectPath, inspectJson, std::cout, std::cerr);
  }
  if (keys->parsed()) {
    keysOptions.json = keysOptions.json || globalJson;
    return RunKeys(keysOptions, std::cout, std::cerr);
  }
  if (globalJson) {
    inspectJson = detectJson = doctorJson = deviceParse.json = true;
  }
  const bool deviceCommand =
      download->parsed() || erase->parsed() || reboot->parsed() || bootloader->parsed();
  if (!detect->parsed() && !doctor->parsed() && !deviceCommand) {
    std::cout << cli.help();
    return 0;
  }

  SystemClock clock;
  AppEnvironment environment;
  environment.programFolder = ProgramFolder(argc > 0 ? argv[0] : nullptr);
  environment.userDocumentsFolder = XdgDocumentsFolderOfUser();
  environment.simulatedDevices = SplitKinds(simulate);
  if (download->parsed())
    environment.arguments = {downloadPath};
  DlopenHidBinder hidapi;
  std::unique_ptr<sim::Simulation> simulation;
  std::unique_ptr<sim::HidReplay> replay;
  HidLibraryBinder* binder = &hidapi;
  if (simulate.starts_with(kReplayPrefix)) {
    std::string error;
    replay = sim::HidReplay::Load(simulate.substr(kReplayPrefix.size()), clock, error);
    if (!replay) {
      std::cerr << "--simulate: " << error << "\n";
      return kUsageError;
    }
    environment.simulatedDevices = {simulate};
    binder = &replay->binder();
    if (!deviceCommand)
      std::cerr << SimulatedDevicesLine(environment.simulatedDevices) << "\n";
  } else if (!simulate.empty()) {
    std::string error;
    simulation = sim::Simulation::Create(environment.simulatedDevices, clock, error);
    if (!simulation) {
      std::cerr << "--simulate: " << error << "\n";
      return kUsageError;
    }
    binder = &simulation->binder();
    if (!deviceCommand)
      std::cerr << SimulatedDevicesLine(environment.simulatedDevices) << "\n";
  }
  std::ofstream recordFile;
  std::unique_ptr<RecordingHidBinder> recorder;
  if (!recordPath.empty()) {
    recordFile.open(recordPath, std::ios::out | std::ios::trunc);
    if (!recordFile) {
      std::cerr << "--record-hid: " << recordPath << " cannot be written\n";
      return kUsageError;
    }
    recorder = std::make_unique<RecordingHidBinder>(*binder, clock, recordFile);
    binder = recorder.get();
  }
  // A replay that departed from its recording says where, whatever the command's outcome.
  const auto reportReplay = [&replay](int exitCode) {
    if (replay && !replay->firstDifference().empty())
      std::cerr << "Replay: " << replay->firstDifference() << "\n";
    return exitCode;
  };
  LinuxDriveSystem drives;
  KeypadDriveFinder driveFinder(drives);
  if (doctor->parsed()) {
    DoctorSetup setup(*binder, clock, driveFinder);
    setup.environment = environment;
    setup.deviceFilter = devicePath;
    return reportReplay(RunDoctor(setup, doctorJson, std::cout));
  }
  Application app(environment, *binder, clock, driveFinder);
  app.transport.SetDeviceFilter(devicePath);
  ConsolePort port(clock, std::cerr);
  if (detect->parsed() && detectAll)
    return reportReplay(RunDetectAll(app.transport, detectJson, std::cout));
  if (!deviceCommand)
    return reportReplay(RunDetect(app, port, detectJson, std::cout));

  DeviceCommandOptions options;
  options.action = download->parsed() ? DeviceAction::Download
                   : erase->parsed()  ? DeviceAction::Erase
                   : reboot->parsed() ? DeviceAction::Reboot
                                      : DeviceAction::Bootloader;
  if (deviceParse.method == "standard")
    options.method = 0;
  else if (deviceParse.method == "prg")
    options.method = 1;
  else if (deviceParse.method == "flash")
    options.method = 2;
  options.questions = deviceParse.yes  ? QuestionPolicy::Yes
                      : deviceParse.no ? QuestionPolicy::No
                                       : QuestionPolicy::Ask;
  options.interactive = isatty(STDIN_FILENO) != 0;
  options.waitSeconds = deviceParse.wait;
  options.json = deviceParse.json;
  options.dryRun = deviceParse.dryRun;
  TerminalOutput terminal(std::cout, std::cerr, isatty(STDERR_FILENO) != 0);
  if (!options.json)
    port.SetTerminal(&terminal);
  return reportReplay(RunDeviceCommand(app, port, options, std::cin, std::cout, std::cerr));
}

}  // namespace tdxx::cli
