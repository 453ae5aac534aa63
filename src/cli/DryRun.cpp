#include "cli/DryRun.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <system_error>

#include "app/CommandLineFile.h"
#include "app/KeyDefinitionLoad.h"
#include "app/MainWindowCommands.h"
#include "cli/CommandOutcome.h"
#include "cli/InterfaceKindName.h"
#include "cli/KeyMapReport.h"
#include "files/NarrowText.h"
#include "hid/DeviceKindTable.h"
#include "protocol/DownloadTimeEstimate.h"
#include "protocol/KeyRecordBytes.h"

namespace tdxx::cli {

namespace {

constexpr std::int32_t kMethodTMode = 1;
constexpr std::int32_t kMethodFlashDrive = 2;
constexpr const char* kBootloaderRefusal = "The device is in bootloader mode: re-plug the keypad.";
constexpr const char* kSlimkeyRefusal = "Slimkey 947 keys are not programmable.";

// What the download would do.
struct Plan {
  std::string flow;  // "standard", "prg-tmode", "prg-tmode-guide", "firmware-upgrade",
                     // "flash-drive"; empty when nothing would be sent
  std::string why;   // why nothing would be sent, or a note on the flow
  int keys = 0;
  int bytes = 0;
  int reports = 0;
  std::string reportKind;  // "feature" or "output"
  DownloadTimeEstimate estimate;
};

int KeyBytes(const KeyTable& keys, int count) {
  int bytes = 0;
  for (int j = 0; j < count; ++j)
    bytes += static_cast<int>(KeyRecordWireBytes(keys[static_cast<std::size_t>(j)]).size());
  return bytes;
}

void PlanKeys(const Application& app, Plan& plan) {
  const MainWindowState& state = app.state;
  const DeviceKindFacts& device = FactsOf(state.deviceKind);
  const int inFile = std::clamp(state.keyCount, 0, static_cast<int>(app.keyTable.size()));
  if (inFile == 0) {
    plan.why = "The file holds no key data.";
    return;
  }
  if (state.downloadMode == kMethodFlashDrive) {
    plan.why = "A CKD file is not sent with the flash-drive method (use --method standard or prg).";
    return;
  }
  const bool inPrgTMode = device.keyDownload == KeyDownload::PrgTMode;
  const bool overStream = inPrgTMode || state.downloadMode == kMethodTMode;
  if (overStream) {
    plan.flow = inPrgTMode ? "prg-tmode" : "prg-tmode-guide";
    if (!inPrgTMode)
      plan.why = "The guide asks to switch the keypad to PRG/TMode first.";
    plan.keys = inFile;
    // Each send is one output report: the pings (one before the block, one per key), the
    // capacity query, the group prefixes (block, each key, end), every byte and the end byte.
    const int byteCount =
        static_cast<int>(kGlobalParameterBlockSize) + KeyBytes(app.keyTable, inFile) + 1;
    plan.bytes = byteCount;
    plan.reports = (1 + inFile) + 1 + (1 + inFile + 1) + byteCount;
    plan.reportKind = "output";
  } else if (device.keyDownload == KeyDownload::Standard) {
    plan.flow = "standard";
    plan.keys = device.standardKeyLimit > 0 ? std::min(inFile, device.standardKeyLimit) : inFile;
    const int block = device.globalBlock.bytesSent;
    plan.bytes = block + KeyBytes(app.keyTable, plan.keys) + 1;
    plan.reports = plan.bytes;  // one feature report per byte
    plan.reportKind = "feature";
  } else if (device.keyDownload == KeyDownload::Silent) {
    plan.why = "The older 917 firmware takes no download.";
    return;
  } else if (device.group == DeviceGroup::Bootloader) {
    plan.why = kBootloaderRefusal;
    return;
  } else {
    plan.why = "No keypad was found.";
    return;
  }
  plan.estimate =
      EstimateKeyDownload(app.keyTable, state.keyCount, state.deviceKind, state.downloadMode);
}

Plan MakePlan(const Application& app) {
  Plan plan;
  const MainWindowState& state = app.state;
  const DeviceKindFacts& device = FactsOf(state.deviceKind);
  std::error_code error;
  // As the Download command: nothing at all goes to the Slimkey 947, whatever the file.
  if (device.group == DeviceGroup::Slimkey) {
    plan.why = kSlimkeyRefusal;
    return plan;
  }
  switch (state.loadedFileType) {
    case kFileCkd:
      PlanKeys(app, plan);
      break;
    case kFileUpg:
      if (device.firmware == FirmwareStep::None) {
        plan.why = "No keypad or bootloader was found.";
      } else if (device.firmware == FirmwareStep::Unsupported) {
        plan.why = "The older 917 firmware takes no firmware update.";
      } else {
        // The firmware flow decides on the device itself; a keypad is first switched to its
        // bootloader, after a question.
        plan.flow = "firmware-upgrade";
        plan.bytes = static_cast<int>(kFirmwareImageSize);
        plan.reportKind = "output";
        if (device.firmware == FirmwareStep::SwitchToBootloader)
          plan.why = "The keypad is first switched to its bootloader (a question asks).";
      }
      break;
    case kFileBin:
      if (device.group == DeviceGroup::Bootloader) {
        plan.why = kBootloaderRefusal;
      } else if (state.downloadMode != kMethodFlashDrive) {
        plan.why = "A BIN file is copied only with the flash-drive method (--method flash).";
      } else {
        plan.flow = "flash-drive";
        plan.bytes = static_cast<int>(std::filesystem::file_size(state.dataFileName, error));
        plan.why = "The file is copied to the keypad's TASTERDECK drive.";
      }
      break;
    default:
      plan.why = "No data file was loaded.";
      break;
  }
  return plan;
}

const char* FileTypeName(std::int32_t type) {
  switch (type) {
    case kFileCkd:
      return "ckd";
    case kFileUpg:
      return "upg";
    case kFileBin:
      return "bin";
    default:
      return "none";
  }
}

std::string Seconds(Milliseconds time) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(time.count()) / 1000.0);
  return text;
}

}  // namespace

int RunDownloadDryRun(Application& app, ConsolePort& port, const DeviceCommandOptions& options,
                      std::ostream& out) {
  MainWindowCommands commands(app, port);
  MainWindowState& state = app.state;
  commands.FormCreate();
  if (options.method)
    state.downloadMode = *options.method;
  std::error_code error;
  if (!StartupDownloadWanted(state) ||
      (state.loadedFileType == kFileBin &&
       !std::filesystem::is_regular_file(state.dataFileName, error)))
    return kExitUsage;

  // Discovery alone: it opens and closes the interfaces, but sends nothing.
  state.deviceKind = app.transport.FindKeypad(false);
  const std::string path = app.transport.devicePath();
  const Plan plan = state.deviceKind == kSeveralDevices ? Plan{} : MakePlan(app);
  const int exitCode = state.deviceKind == kSeveralDevices ? kExitConflict
                       : plan.flow.empty()                 ? kExitFailed
                                                           : kExitDone;
  const std::string why =
      state.deviceKind == kSeveralDevices
          ? (app.transport.hidBound() || app.transport.bindError().empty()
                 ? "Several devices are connected (choose one with --device)."
                 : "The HID library cannot be loaded: " + app.transport.bindError())
          : plan.why;
  // What the download would warn of: the loaded file's problems for the keypad found.
  const std::vector<KeyMapProblem> problems = LoadedKeyProblems(app);

  if (options.json) {
    nlohmann::json result;
    result["dryRun"] = true;
    result["file"] = NarrowToDisplayUtf8(state.dataFileName);
    result["fileType"] = FileTypeName(state.loadedFileType);
    result["keysInFile"] = state.keyCount;
    result["deviceKind"] = state.deviceKind;
    result["devicePath"] = path;
    result["flow"] = plan.flow;
    result["keys"] = plan.keys;
    result["bytes"] = plan.bytes;
    result["reports"] = plan.reports;
    result["reportKind"] = plan.reportKind;
    result["estimateMs"] = plan.estimate.Total().count();
    result["note"] = why;
    result["problems"] = ProblemsJson(problems);
    result["exitCode"] = exitCode;
    out << result.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    return exitCode;
  }
  out << "Dry run: nothing is sent to the device.\n";
  out << "File: " << NarrowToDisplayUtf8(state.dataFileName) << " ("
      << FileTypeName(state.loadedFileType);
  if (state.loadedFileType == kFileCkd)
    out << ", " << state.keyCount << " keys";
  out << ")\n";
  if (state.deviceKind > 0)
    out << "Device: " << InterfaceKindName(state.deviceKind) << " at " << path << "\n";
  if (!plan.flow.empty()) {
    out << "Flow: " << plan.flow << "\n";
    if (plan.keys > 0)
      out << "Keys: " << plan.keys << "\n";
    out << "Bytes: " << plan.bytes << "\n";
    if (plan.reports > 0)
      out << "Reports: " << plan.reports << " " << plan.reportKind << " reports\n";
    if (!plan.estimate.empty())
      out << "Time: at least " << Seconds(plan.estimate.Total())
          << " (the pauses the download must make; device time comes on top)\n";
  }
  if (!why.empty())
    out << (plan.flow.empty() ? "Nothing would be sent: " : "Note: ") << why << "\n";
  if (!problems.empty())
    PrintProblems(out, problems);
  return exitCode;
}

}  // namespace tdxx::cli
