#include "cli/DeviceCommand.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <system_error>

#include "app/CommandLineFile.h"
#include "app/MainWindowCommands.h"
#include "cli/CommandOutcome.h"
#include "cli/ConsoleWindows.h"
#include "cli/DryRun.h"
#include "cli/InterfaceKindName.h"
#include "files/NarrowText.h"
#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"
#include "protocol/DeviceKindGroups.h"

namespace tdxx::cli {
namespace {

constexpr Milliseconds kTModeDownloadDelay{100};

const char* IconName(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning:
      return "warning";
    case MessageIcon::Information:
      return "information";
    case MessageIcon::Question:
      return "question";
    case MessageIcon::None:
      return "none";
  }
  return "none";
}

const char* AnswerName(MessageResult answer) {
  switch (answer) {
    case MessageResult::Yes:
      return "yes";
    case MessageResult::No:
      return "no";
    case MessageResult::Ok:
      return "ok";
  }
  return "ok";
}

const char* WindowName(ModalWindow window) {
  switch (window) {
    case ModalWindow::TMode:
      return "TMode";
    case ModalWindow::DownloadFail:
      return "DownloadFail";
    case ModalWindow::FlashDrive:
      return "FlashDrive";
  }
  return "";
}

void PrintJson(const Application& app, const ConsolePort& port, int exitCode, std::ostream& out) {
  nlohmann::json result;
  result["log"] = NarrowToDisplayUtf8(port.log());
  result["keypadPanel"] = NarrowToDisplayUtf8(port.KeypadText());
  result["deviceKind"] = app.state.deviceKind;
  result["kindName"] = InterfaceKindName(app.state.deviceKind);
  result["taskDone"] = app.state.taskDone;
  nlohmann::json messages = nlohmann::json::array();
  for (const ShownMessage& message : port.messages()) {
    messages.push_back({{"title", NarrowToDisplayUtf8(message.title)},
                        {"text", NarrowToDisplayUtf8(message.text)},
                        {"icon", IconName(message.icon)},
                        {"answer", AnswerName(message.answer)}});
  }
  result["messages"] = messages;
  nlohmann::json windows = nlohmann::json::array();
  for (const ModalWindow window : port.windows())
    windows.push_back(WindowName(window));
  result["windows"] = windows;
  result["exitCode"] = exitCode;
  out << result.dump() << "\n";
}

// A click on Download, then the download a guide window handed back through tmrTModeDownload,
// 100 ms after the window closed.
class DownloadRunner {
 public:
  DownloadRunner(Application& app, ConsolePort& port, MainWindowCommands& commands,
                 TerminalOutput* terminal)
      : app_(app), port_(port), commands_(commands), terminal_(terminal) {}

  void Click() {
    SetEstimate();
    commands_.btnDownloadClick();
    if (port_.TakeTModeDownloadRequest()) {
      port_.Pause(kTModeDownloadDelay);
      SetEstimate();
      commands_.tmrTModeDownloadTimer();
    }
  }

 private:
  void SetEstimate() {
    if (terminal_ == nullptr)
      return;
    const MainWindowState& state = app_.state;
    terminal_->SetEstimate(state.loadedFileType == kFileCkd
                               ? EstimateKeyDownload(app_.keyTable, state.keyCount,
                                                     state.deviceKind, state.downloadMode)
                               : DownloadTimeEstimate{});
  }

  Application& app_;
  ConsolePort& port_;
  MainWindowCommands& commands_;
  TerminalOutput* terminal_;
};

// Names the device once, as the keypad panel shows it; with several devices, no HID library
// or no device the panel's text says why nothing can run.
void NoteFoundDevice(ConsolePort& port, const Application& app) {
  std::string panel = ForTerminal(port.KeypadText());
  while (!panel.empty() && panel.back() == '\n')
    panel.pop_back();
  if (panel.empty())
    return;
  port.Note(app.state.deviceKind > 0 ? "Found: " + panel : panel);
  if (app.state.deviceKind == kSeveralDevices && !app.transport.bindError().empty())
    port.Note("Run \"tdxxload-cli doctor\" to see what is missing.");
}

// Erase wipes the keypad's key definitions: on a terminal it asks first, --yes skips the
// question, and without a terminal or with --no nothing is erased.
bool EraseConfirmed(const MainWindowState& state, const DeviceCommandOptions& options,
                    std::istream& in, std::ostream& errors) {
  const DeviceKind kind = state.deviceKind;
  if (!TakesFeatureCommands(kind) && kind != kPrgTModeKind)
    return true;  // Erase only shows why it cannot run
  const std::string question = "Erase the key definitions of the " + KindModelName(kind) + "?";
  return AnswerQuestion(options.questions, options.interactive, in, errors, question) ==
         MessageResult::Yes;
}

int DownloadExit(const Application& app, ConsolePort& port, const ConsoleWindows& windows) {
  const MainWindowState& state = app.state;
  if (QuestionRefused(port.messages()) || windows.guideIncomplete())
    return kExitRefused;
  const Outcome outcome = ClassifyOutcome(port.messages(), port.log());
  if (outcome == Outcome::Refused)
    return kExitRefused;
  // The flash-drive copy sets no taskDone: it succeeded when the copy was read back equal.
  if (state.loadedFileType == kFileBin)
    return windows.flashDriveCopied() ? kExitDone : kExitFailed;
  if (state.taskDone)
    return kExitDone;
  if (outcome == Outcome::Failure)
    return kExitFailed;
  // The two cases where Download shows nothing and sends nothing.
  if (state.loadedFileType == kFileCkd &&
      FactsOf(state.deviceKind).keyDownload == KeyDownload::Silent) {
    port.Note(
        "The 917 keypad with firmware 4.1 to 5.0 takes no key definitions: nothing was "
        "sent.");
    return kExitRefused;
  }
  if (state.deviceKind == kNoDevice) {
    port.Note("No keypad or bootloader found: nothing was sent.");
    return kExitRefused;
  }
  return kExitFailed;
}

int RunSteps(Application& app, ConsolePort& port, MainWindowCommands& commands,
             const ConsoleWindows& windows, const DeviceCommandOptions& options,
             TerminalOutput* terminal, std::istream& in, std::ostream& errors) {
  MainWindowState& state = app.state;
  commands.FormCreate();
  if (options.method)
    state.downloadMode = *options.method;  // this run only: TDxxLoad.ini stays as it is

  if (options.action == DeviceAction::Download && !StartupDownloadWanted(state))
    return kExitUsage;  // the file could not be read
  // A missing BIN file leaves its type set for the window's sake; here it cannot be read.
  std::error_code error;
  if (options.action == DeviceAction::Download && state.loadedFileType == kFileBin &&
      !std::filesystem::is_regular_file(state.dataFileName, error))
    return kExitUsage;

  ProtocolContext ctx = app.Protocol(port);
  DetectKeypad(ctx, false);
  if (!options.json)
    NoteFoundDevice(port, app);
  // With several devices or no HID library each command shows its own Conflict box.
  const bool conflict = state.deviceKind == kSeveralDevices;

  switch (options.action) {
    case DeviceAction::Download: {
      DownloadRunner download(app, port, commands, terminal);
      const DeviceKind before = state.deviceKind;
      state.taskDone = false;
      download.Click();
      if (conflict)
        return kExitConflict;
      // A firmware file's first pass may only have switched the keypad to its bootloader; the
      // user's second click writes the firmware.
      if (!state.taskDone && state.loadedFileType == kFileUpg && !IsBootloaderKind(before) &&
          IsBootloaderKind(state.deviceKind) && !QuestionRefused(port.messages()))
        download.Click();
      return DownloadExit(app, port, windows);
    }
    case DeviceAction::Erase:
      if (!EraseConfirmed(state, options, in, errors)) {
        port.Note("Erase canceled: nothing was sent.");
        return kExitRefused;
      }
      commands.btnEraseClick();
      break;
    case DeviceAction::Reboot:
      commands.btnRebootClick();
      break;
    case DeviceAction::Bootloader:
      commands.mnuLaunchBootloaderClick();
      break;
  }
  if (conflict)
    return kExitConflict;
  if (QuestionRefused(port.messages()))
    return kExitRefused;
  const Outcome outcome = ClassifyOutcome(port.messages(), port.log());
  if (outcome == Outcome::Refused)
    return kExitRefused;
  if (outcome == Outcome::Failure)
    return kExitFailed;
  // "Bootloader already active!": the device is where the command puts it.
  if (outcome == Outcome::Success ||
      (options.action == DeviceAction::Bootloader && IsBootloaderKind(state.deviceKind)))
    return kExitDone;
  return kExitFailed;
}

}  // namespace

int RunDeviceCommand(Application& app, ConsolePort& port, const DeviceCommandOptions& options,
                     std::istream& in, std::ostream& out, std::ostream& errors) {
  if (options.dryRun && options.action == DeviceAction::Download)
    return RunDownloadDryRun(app, port, options, out);
  MainWindowCommands commands(app, port);
  ConsoleWindows windows(commands, port, app.clock, options.waitSeconds);
  port.SetModalWindowHandler([&windows](ModalWindow window) { windows.Show(window); });
  port.SetQuestionAnswerer([&](std::string_view, std::string_view) {
    return AnswerQuestion(options.questions, options.interactive, in, errors);
  });
  TerminalOutput* terminal = options.json ? nullptr : port.terminal();
  const int exitCode = RunSteps(app, port, commands, windows, options, terminal, in, errors);
  port.SetModalWindowHandler({});
  port.SetQuestionAnswerer({});
  if (options.json)
    PrintJson(app, port, exitCode, out);
  else if (terminal != nullptr)
    terminal->Finish();
  return exitCode;
}

}  // namespace tdxx::cli
