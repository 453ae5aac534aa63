#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CliRunRig.h"
#include "NoHidBinder.h"
#include "cli/CommandOutcome.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::test {
namespace {

using cli::DeviceAction;
using cli::QuestionPolicy;

// One row of the exit-status table: the devices (none: no HID library), the command, its
// file, and what a script sees: the exit status and a text the user is shown.
struct ExitRow {
  const char* name;
  std::vector<std::string> kinds;
  DeviceAction action;
  const char* file = "";  // an example file, "keys.bin" (made here) or a missing file
  std::optional<std::int32_t> method = std::nullopt;
  QuestionPolicy questions = QuestionPolicy::Ask;
  int exit = -1;
  const char* shown = "";  // in a box's title or text, the log or the error output
  std::function<void(sim::Simulation&)> fault = {};
};

constexpr std::int32_t kStandard = 0;
constexpr std::int32_t kFlash = 2;

std::vector<ExitRow> Rows() {
  using enum DeviceAction;
  const auto failFeatureSend = [](sim::Simulation& s) { s.device(0).FailFeatureSend(); };
  constexpr QuestionPolicy kYes = QuestionPolicy::Yes;
  constexpr QuestionPolicy kNo = QuestionPolicy::No;
  // clang-format off
  return {
      // 0: done.
      {"keys sent", {"td-a"}, Download, "td-a-function-keys.ckd", {}, {}, 0, "SUCCESS!"},
      {"firmware written after --yes", {"td-a"}, Download, "td-a-demo.upg", {}, kYes, 0,
       "SUCCESS! Download Complete."},
      {"erase with --yes", {"td-a"}, Erase, "", {}, kYes, 0, "Success! Erase"},
      {"reboot", {"td-a"}, Reboot, "", {}, {}, 0, "Success! Reboot"},
      {"reboot of the TDSxx bootloader", {"tds-bootloader"}, Reboot, "", {}, {}, 0,
       "sent to bootloader"},
      {"bootloader launched", {"td-a"}, Bootloader, "", {}, {}, 0, "Bootloader: Activated."},
      {"bootloader already active", {"tdxx-bootloader"}, Bootloader, "", {}, {}, 0,
       "Bootloader already active!"},
      // 1: a flow ran and failed.
      {"erase not sent", {"td-a"}, Erase, "", {}, kYes, 1, "Failure! Erase command not sent.",
       failFeatureSend},
      {"reboot not sent", {"wk-c"}, Reboot, "", {}, {}, 1, "Failure! Reboot command not sent.",
       failFeatureSend},
      // 2: usage, or a data file that cannot be read.
      {"missing key file", {"td-a"}, Download, "missing.ckd", {}, {}, 2, "Cannot read file"},
      // 3: several devices or no HID library, each command with its own box.
      {"download, several", {"td-a", "wk-c"}, Download, "td-a-function-keys.ckd", {}, {}, 3,
       "Download aborted! Please connect only one device."},
      {"erase, several", {"td-a", "wk-c"}, Erase, "", {}, kYes, 3,
       "Erase aborted! Please connect only one device."},
      {"reboot, several", {"td-a", "wk-c"}, Reboot, "", {}, {}, 3,
       "Reboot aborted! Please connect only one device."},
      {"bootloader, several", {"td-a", "wk-c"}, Bootloader, "", {}, {}, 3,
       "Action aborted! Please connect only one device."},
      {"download, no HID library", {}, Download, "td-a-function-keys.ckd", {}, {}, 3,
       "Download aborted! USB HID service unavailable: libhidapi"},
      {"erase, no HID library", {}, Erase, "", {}, kYes, 3,
       "Erase aborted! USB HID service unavailable: libhidapi"},
      {"reboot, no HID library", {}, Reboot, "", {}, {}, 3, "tdxxload-cli doctor"},
      {"bootloader, no HID library", {}, Bootloader, "", {}, {}, 3,
       "Action aborted! USB HID service unavailable"},
      // 4: refused before anything was sent.
      {"download, no device", {"mouse"}, Download, "td-a-function-keys.ckd", {}, {}, 4,
       "Plug in your keypad"},
      {"firmware, no device", {"mouse"}, Download, "td-a-demo.upg", {}, {}, 4,
       "No keypad or bootloader found: nothing was sent."},
      {"erase, no device", {"mouse"}, Erase, "", {}, kYes, 4, "No keypad/keyboard found!"},
      {"reboot, no device", {"mouse"}, Reboot, "", {}, {}, 4, "No keypad/keyboard found!"},
      {"bootloader, no device", {"mouse"}, Bootloader, "", {}, {}, 4,
       "No keypad/keyboard found!"},
      {"keys to a bootloader", {"tdxx-bootloader"}, Download, "td-a-function-keys.ckd", {}, {},
       4, "You are in Bootloader mode."},
      {"keys with the flash-drive method", {"td-a"}, Download, "td-a-function-keys.ckd", kFlash,
       {}, 4, "Download Mismatch"},
      {"keys to the Slimkey 947", {"slimkey-947"}, Download, "td-a-function-keys.ckd", {}, {}, 4,
       "Slimkey 947 keys are not programmable."},
      {"keys to the old 917", {"917-v4"}, Download, "td-a-function-keys.ckd", {}, {}, 4,
       "takes no key definitions: nothing was sent."},
      {"BIN with the standard method", {"td-a"}, Download, "keys.bin", kStandard, {}, 4,
       "BIN file must use Flash Drive Copy method"},
      {"firmware of the wrong size", {"947-bootloader"}, Download, "td-a-demo.upg", {}, {}, 4,
       "Download aborted! Filesize incorrect."},
      {"firmware to the old 917", {"917-v4"}, Download, "td-a-demo.upg", {}, {}, 4,
       "does not support firmware update."},
      {"firmware question answered No", {"td-a"}, Download, "td-a-demo.upg", {}, kNo, 4,
       "Would you like to activate it?"},
      {"firmware question without a terminal", {"td-a"}, Download, "td-a-demo.upg", {}, {}, 4,
       "Pass --yes"},
      {"guide not completed", {"td-b"}, Download, "td-a-function-keys.ckd", 1, {}, 4,
       "Guide not completed"},
      {"erase without a terminal", {"td-a"}, Erase, "", {}, {}, 4, "Pass --yes"},
      {"erase answered No", {"td-a"}, Erase, "", {}, kNo, 4, "Erase canceled"},
      {"erase of the Slimkey 947", {"slimkey-947"}, Erase, "", {}, kYes, 4,
       "Erase aborted! Slimkey 947"},
      {"erase of the old 917 v4", {"917-v4"}, Erase, "", {}, kYes, 4,
       "does not support this erase method"},
      {"erase of the old 917 v5", {"917-v5"}, Erase, "", {}, kYes, 4,
       "does not support this erase method"},
      {"erase of a bootloader", {"tdxx-bootloader"}, Erase, "", {}, kYes, 4, "Bootloader mode"},
      {"reboot of the Slimkey 947", {"slimkey-947"}, Reboot, "", {}, {}, 4,
       "Reboot aborted! Slimkey 947"},
      {"reboot of the old 917 v4", {"917-v4"}, Reboot, "", {}, {}, 4, "Reboot Not Supported"},
      {"reboot of the old 917 v5", {"917-v5"}, Reboot, "", {}, {}, 4, "Reboot Not Supported"},
      {"bootloader of the Slimkey 947", {"slimkey-947"}, Bootloader, "", {}, {}, 4,
       "must be activated manually"},
      {"bootloader of the old 917 v4", {"917-v4"}, Bootloader, "", {}, {}, 4,
       "does not support this command"},
      {"bootloader of the old 917 v5 halted", {"917-v5"}, Bootloader, "", {}, {}, 4,
       "Launch Bootloader HALTED"},
  };
  // clang-format on
}

class ExitStatus : public CliRunRig {
 protected:
  // Everything the user is shown: boxes, the log and the error output.
  static std::string Shown(const nlohmann::json& report, const std::string& errors) {
    std::string shown = report["log"].get<std::string>() + "\n" + errors;
    for (const auto& message : report["messages"])
      shown +=
          "\n" + message["title"].get<std::string>() + ": " + message["text"].get<std::string>();
    return shown;
  }
};

TEST_F(ExitStatus, EveryRowOfTheTable) {
  const std::string bin = temp.Write("keys.bin", "\x01\x02keys");
  for (const ExitRow& row : Rows()) {
    SCOPED_TRACE(row.name);
    errors.str("");
    NoHidBinder noHid;
    HidLibraryBinder* binder = &noHid;
    if (!row.kinds.empty()) {
      Plug(row.kinds);
      if (row.fault)
        row.fault(*simulation);
      binder = &simulation->binder();
    }
    const std::string name = row.file;
    const std::string file = name.empty()                  ? ""
                             : name == "keys.bin"          ? bin
                             : name.starts_with("missing") ? temp / name
                                                           : ExampleCkd(row.file);
    cli::DeviceCommandOptions options;
    options.action = row.action;
    options.method = row.method;
    options.questions = row.questions;
    const nlohmann::json report = Run(*binder, file, options);
    EXPECT_EQ(exitCode, row.exit) << Shown(report, errors.str());
    EXPECT_EQ(report["exitCode"], row.exit);
    EXPECT_NE(Shown(report, errors.str()).find(row.shown), std::string::npos)
        << Shown(report, errors.str());
    simulation.reset();
  }
}

}  // namespace
}  // namespace tdxx::test
