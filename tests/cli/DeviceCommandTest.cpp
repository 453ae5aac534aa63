#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "FakeDriveLocator.h"
#include "TempFolder.h"
#include "TemporaryEnvironment.h"
#include "cli/CommandOutcome.h"
#include "cli/DeviceCommand.h"
#include "files/PrivateProfile.h"
#include "sim/KeyImageDecoder.h"
#include "sim/SimulatedBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/Simulation.h"
#include "sim/VirtualClock.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

std::string ExampleFile(const char* name) {
  return (std::filesystem::path(__FILE__).parent_path() / "../../examples" / name).string();
}

// The port's pauses on a virtual clock; a device unplugged at start comes in once the clock
// has reached `plugAt`, as a keypad switched to PRG by the user while the guide waits.
class PluggingClock final : public Clock {
 public:
  PluggingClock(Clock& clock, sim::SimulatedDevice* device, ClockDuration plugAt)
      : clock_(clock), device_(device), plugAt_(plugAt) {}
  void Pause(ClockDuration duration) override {
    clock_.Pause(duration);
    if (device_ != nullptr && !device_->plugged() && clock_.Now() >= plugAt_)
      device_->Plug();
  }
  void SleepOnWorker(ClockDuration duration) override { clock_.SleepOnWorker(duration); }
  ClockDuration Now() const override { return clock_.Now(); }

 private:
  Clock& clock_;
  sim::SimulatedDevice* device_;
  ClockDuration plugAt_;
};

// One run of a device command over simulated devices on virtual time, with its JSON report.
class DeviceCommandRig : public ::testing::Test {
 protected:
  ~DeviceCommandRig() override {
    app.reset();
    if (simulation) {
      EXPECT_EQ(simulation->bus().overlaps(), 0);
      EXPECT_EQ(clock.stalls(), 0);
    }
  }

  void Plug(const std::vector<std::string>& kinds) {
    std::string error;
    simulation = sim::Simulation::Create(kinds, clock, error);
    ASSERT_NE(simulation, nullptr) << error;
  }

  nlohmann::json Run(const std::string& file, cli::DeviceCommandOptions options,
                     ClockDuration plugAt = -1ms) {
    options.json = true;
    environment.arguments = {file};
    app = std::make_unique<Application>(environment, simulation->binder(), clock, drive);
    PluggingClock portClock(clock, plugAt >= 0ms ? &simulation->device(0) : nullptr, plugAt);
    cli::ConsolePort port(portClock, errors);
    std::istringstream in;
    std::ostringstream out;
    exitCode = cli::RunDeviceCommand(*app, port, options, in, out, errors);
    return nlohmann::json::parse(out.str());
  }

  std::string SettingsFile() const {
    return temp / "home/Documents/Quorvane/KeysmithTDxx/TDxxLoad.ini";
  }

  TempFolder temp;
  AppEnvironment environment = TemporaryEnvironment(temp);
  sim::VirtualClock clock;
  std::unique_ptr<sim::Simulation> simulation;
  FakeDriveLocator drive;
  std::unique_ptr<Application> app;
  std::ostringstream errors;
  int exitCode = -1;
};

TEST_F(DeviceCommandRig, A48KeyFileOnATdASendsExactlyTheFirst24KeysAndReportsAsJson) {
  Plug({"td-a"});
  const nlohmann::json report = Run(ExampleFile("td-b-letters.ckd"), {});
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  const sim::ReceivedKeyImage received = simulation->device(0).config().keyImage->Snapshot();
  std::cout << "The TD-A received " << received.keys.size() << " keys, "
            << received.CompleteKeyCount() << " complete.\n";
  EXPECT_EQ(received.CompleteKeyCount(), 24);
  EXPECT_EQ(received.keys.size(), 24u);

  EXPECT_EQ(report["exitCode"], 0);
  EXPECT_EQ(report["taskDone"], true);
  EXPECT_EQ(report["deviceKind"], 5);
  EXPECT_EQ(report["keypadPanel"], "KEYPAD found: Quorvane Tasterdeck TD-A.");
  const std::string log = report["log"];
  EXPECT_NE(log.find("Open data file (from command line):"), std::string::npos);
  EXPECT_NE(log.find("\r\nIMPORTANT: Downloading only first 24 keys of file!"), std::string::npos);
  EXPECT_TRUE(log.ends_with("\r\nSUCCESS! Download Complete.\r\n")) << log;
  EXPECT_TRUE(report["messages"].is_array() && report["messages"].empty());
  EXPECT_TRUE(report["windows"].is_array() && report["windows"].empty());
}

TEST_F(DeviceCommandRig, MethodOverridesTheSavedOneWithoutWritingTheSettings) {
  const std::string saved = "[CONFIGURATION]\r\nDownloadMode=2\r\n";
  temp.Write("home/Documents/Quorvane/KeysmithTDxx/TDxxLoad.ini", saved);
  Plug({"prg-tmode"});
  cli::DeviceCommandOptions options;
  options.method = 1;
  const nlohmann::json report = Run(ExampleFile("td-a-function-keys.ckd"), options);
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  ASSERT_EQ(report["messages"].size(), 1u);
  EXPECT_EQ(report["messages"][0]["title"], "SUCCESS! Download Complete.");
  EXPECT_EQ(report["messages"][0]["icon"], "none");
  EXPECT_EQ(report["messages"][0]["answer"], "ok");
  EXPECT_EQ(ReadProfileInt(SettingsFile(), "CONFIGURATION", "DownloadMode", -1), 2);

  // Without --method the saved flash-drive method holds: a CKD file is refused.
  simulation.reset();
  app.reset();
  Plug({"prg-tmode"});
  const nlohmann::json refused = Run(ExampleFile("td-a-function-keys.ckd"), {});
  EXPECT_EQ(exitCode, cli::kExitRefused);
  ASSERT_EQ(refused["messages"].size(), 1u);
  EXPECT_EQ(refused["messages"][0]["title"], "Download Mismatch");
  EXPECT_EQ(refused["messages"][0]["icon"], "warning");
}

TEST_F(DeviceCommandRig, GuideWaitsForAKeypadThatComesInPrgAfterThreeSeconds) {
  Plug({"prg-tmode"});
  simulation->device(0).Unplug();
  cli::DeviceCommandOptions options;
  options.method = 1;
  options.waitSeconds = 5;
  const ClockDuration start = clock.Now();
  const nlohmann::json report = Run(ExampleFile("td-a-function-keys.ckd"), options, start + 3s);
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  EXPECT_EQ(report["windows"], nlohmann::json::array({"TMode"}));
  EXPECT_EQ(report["deviceKind"], 9);
  EXPECT_EQ(simulation->device(0).config().keyImage->Snapshot().CompleteKeyCount(), 24);
  // Four looks, a second apart: none at 0, 1 and 2 s, the keypad at 3 s.
  EXPECT_NE(errors.str().find("Contacted!"), std::string::npos);
  const auto outputs = simulation->device(0).outputReports();
  ASSERT_FALSE(outputs.empty());
  EXPECT_GE(outputs.front().time - start, 3s);
  EXPECT_LT(outputs.front().time - start, 4s);
}

TEST_F(DeviceCommandRig, GuideWithoutAKeypadInTimeOrWithoutWaitIsNotCompleted) {
  Plug({"td-b"});
  cli::DeviceCommandOptions options;
  options.method = 1;
  const nlohmann::json noWait = Run(ExampleFile("td-a-function-keys.ckd"), options);
  EXPECT_EQ(exitCode, cli::kExitRefused);
  EXPECT_EQ(noWait["taskDone"], false);

  options.waitSeconds = 2;
  const ClockDuration start = clock.Now();
  Run(ExampleFile("td-a-function-keys.ckd"), options);
  EXPECT_EQ(exitCode, cli::kExitRefused);
  EXPECT_GE(clock.Now() - start, 2s);
  EXPECT_LT(clock.Now() - start, 3s);
  EXPECT_NE(errors.str().find("Not found!"), std::string::npos);
}

// A BIN file with the flash-drive method: the guide looks for the keypad's drive, copies the
// file as "Copy Bin for me" does and succeeds only when the copy reads back equal.
TEST_F(DeviceCommandRig, BinFileIsCopiedOntoTheKeypadsDriveWhenItAppears) {
  Plug({"mouse"});
  const std::string bin = temp.Write("keys.bin", std::string("\x01\x02\xFFkeys", 7));
  std::filesystem::create_directories(temp / "drive");
  cli::DeviceCommandOptions options;
  options.method = 2;
  options.waitSeconds = 3;

  // No drive within the wait: the guide is not completed.
  Run(bin, options);
  EXPECT_EQ(exitCode, cli::kExitRefused) << errors.str();
  EXPECT_FALSE(std::filesystem::exists(temp / "drive/keys.bin"));

  drive.mountPoint = temp / "drive/";
  const nlohmann::json report = Run(bin, options);
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  std::string copy;
  std::ifstream(temp / "drive/keys.bin", std::ios::binary) >> std::noskipws >> copy;
  EXPECT_EQ(copy, std::string("\x01\x02\xFFkeys", 7));
  EXPECT_EQ(report["windows"], nlohmann::json::array({"FlashDrive"}));
  const std::string log = report["log"];
  EXPECT_NE(log.find("\r\nCopied keys.bin to the TASTERDECK drive."), std::string::npos) << log;
  // The drive is still there: the note to restore the switch, without an icon.
  ASSERT_EQ(report["messages"].size(), 1u);
  EXPECT_EQ(report["messages"][0]["title"], "Download/Copy Note");
  EXPECT_EQ(report["messages"][0]["icon"], "none");

  // Without --wait the guide only prints its steps.
  options.waitSeconds = -1;
  Run(bin, options);
  EXPECT_EQ(exitCode, cli::kExitRefused);
}

TEST_F(DeviceCommandRig, SeveralDevicesAndUnreadableFilesStopBeforeAnyDownload) {
  Plug({"td-a", "wk-c"});
  EXPECT_EQ(Run(ExampleFile("td-a-function-keys.ckd"), {})["deviceKind"], -1);
  EXPECT_EQ(exitCode, cli::kExitConflict);
  for (const char* name : {"missing.ckd", "missing.bin", "missing.upg", "notes.txt"}) {
    const nlohmann::json report = Run(temp / name, {});
    EXPECT_EQ(exitCode, cli::kExitUsage) << name;
    EXPECT_EQ(report["exitCode"], cli::kExitUsage) << name;
  }
}

TEST(CommandOutcome, RefusalsOutweighFailuresWhichOutweighSuccesses) {
  using cli::Outcome;
  auto box = [](std::string title, std::string text) {
    return cli::ShownMessage{std::move(title), std::move(text), MessageIcon::Warning,
                             MessageResult::Ok};
  };
  EXPECT_EQ(cli::ClassifyOutcome({box("Reboot Note", "Success! Reboot command sent.")}, ""),
            Outcome::Success);
  EXPECT_EQ(
      cli::ClassifyOutcome({box("Erase Settings Note", "Failure! Erase command not sent.")}, ""),
      Outcome::Failure);
  EXPECT_EQ(cli::ClassifyOutcome({box("Erase Conflict", "Erase aborted!")}, ""), Outcome::Refused);
  // "Failure!" opens the refusal of the old 917 keypads: nothing was sent.
  EXPECT_EQ(cli::ClassifyOutcome({box("Reboot Not Supported",
                                      "Failure! 91x v4.1 through v5.0 do "
                                      "not support the Reboot command.")},
                                 ""),
            Outcome::Refused);
  EXPECT_EQ(cli::ClassifyOutcome({}, "\r\nRequesting bootloader mode.\r\nBootloader: Activated."),
            Outcome::Success);
  EXPECT_EQ(cli::ClassifyOutcome({}, "\r\nLaunch Bootloader FAIL: Did not respond in time."),
            Outcome::Failure);
  EXPECT_EQ(cli::ClassifyOutcome({box("Success!", "done")}, "\r\n...FAILED reboot."),
            Outcome::Failure);
  EXPECT_EQ(cli::ClassifyOutcome({box("Note", "Your device does not support this command.")}, ""),
            Outcome::Refused);
  EXPECT_EQ(cli::ClassifyOutcome({box("Note", "Bootloader already active!")}, ""),
            Outcome::Unknown);

  EXPECT_FALSE(cli::QuestionRefused({box("Note", "x")}));
  EXPECT_TRUE(
      cli::QuestionRefused({{"Bootloader", "Launch?", MessageIcon::Question, MessageResult::No}}));
}

TEST(QuestionAnswer, FlagsAnswerAtOnceATerminalIsAskedAndAnythingElseSaysNo) {
  std::istringstream yesLine("Y\n"), noLine("maybe\n"), empty(""), unread("y\n");
  std::ostringstream prompt;
  using cli::QuestionPolicy;
  EXPECT_EQ(cli::AnswerQuestion(QuestionPolicy::Yes, false, unread, prompt), MessageResult::Yes);
  EXPECT_EQ(cli::AnswerQuestion(QuestionPolicy::No, true, unread, prompt), MessageResult::No);
  EXPECT_EQ(prompt.str(), "") << "flags ask nothing";
  EXPECT_EQ(cli::AnswerQuestion(QuestionPolicy::Ask, false, unread, prompt), MessageResult::No);
  EXPECT_EQ(cli::AnswerQuestion(QuestionPolicy::Ask, true, yesLine, prompt), MessageResult::Yes);
  EXPECT_EQ(cli::AnswerQuestion(QuestionPolicy::Ask, true, noLine, prompt), MessageResult::No);
  EXPECT_EQ(cli::AnswerQuestion(QuestionPolicy::Ask, true, empty, prompt), MessageResult::No);
  EXPECT_NE(prompt.str().find("[y/N]"), std::string::npos);
}

}  // namespace
}  // namespace tdxx::test
