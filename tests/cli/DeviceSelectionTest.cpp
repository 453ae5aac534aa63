#include <gtest/gtest.h>

#include <sstream>

#include "CliRunRig.h"
#include "cli/CommandOutcome.h"
#include "cli/DetectCommand.h"
#include "sim/KeyImageDecoder.h"
#include "sim/SimulatedBus.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::test {
namespace {

class DeviceSelection : public CliRunRig {
 protected:
  ~DeviceSelection() override {
    if (simulation) {
      EXPECT_EQ(simulation->bus().overlaps(), 0);
      EXPECT_EQ(clock.stalls(), 0);
    }
  }

  std::size_t KeysReceived(std::size_t device) {
    return simulation->device(device).config().keyImage->Snapshot().keys.size();
  }
};

TEST_F(DeviceSelection, WithoutDeviceTwoKeypadsConflictAndWithItEachGetsTheKeysAlone) {
  Plug({"td-a", "wk-c"});
  const std::string file = ExampleCkd("td-a-function-keys.ckd");
  Run(simulation->binder(), file);
  EXPECT_EQ(exitCode, cli::kExitConflict);
  EXPECT_EQ(KeysReceived(0) + KeysReceived(1), 0u);

  const nlohmann::json second =
      Run(simulation->binder(), file, {}, sim::SimulatedBus::InterfacePath(1, 0));
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  EXPECT_EQ(second["deviceKind"], 8);
  EXPECT_EQ(KeysReceived(0), 0u);
  EXPECT_EQ(KeysReceived(1), 24u);

  const nlohmann::json first =
      Run(simulation->binder(), file, {}, sim::SimulatedBus::InterfacePath(0, 0));
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  EXPECT_EQ(first["deviceKind"], 5);
  EXPECT_EQ(KeysReceived(0), 24u);
}

TEST_F(DeviceSelection, ADevicePathThatIsNotAttachedFindsNothing) {
  Plug({"td-a"});
  Run(simulation->binder(), ExampleCkd("td-a-function-keys.ckd"), {}, "/sim/hidraw7.0");
  EXPECT_EQ(exitCode, cli::kExitRefused);
  EXPECT_EQ(simulation->device(0).openCount(), 0);
}

TEST_F(DeviceSelection, DryRunSendsNoReportAndTellsTheFlowAndItsTime) {
  Plug({"td-a"});
  cli::DeviceCommandOptions options;
  options.dryRun = true;
  const nlohmann::json plan = Run(simulation->binder(), ExampleCkd("td-b-letters.ckd"), options);
  EXPECT_EQ(exitCode, cli::kExitDone) << errors.str();
  EXPECT_TRUE(simulation->device(0).featureReports().empty());
  EXPECT_TRUE(simulation->device(0).outputReports().empty());
  EXPECT_EQ(simulation->device(0).featureReadCount(), 0);
  EXPECT_EQ(plan["flow"], "standard");
  EXPECT_EQ(plan["keysInFile"], 48);
  EXPECT_EQ(plan["keys"], 24);  // a TD-A takes 24
  EXPECT_EQ(plan["reportKind"], "feature");
  EXPECT_EQ(plan["reports"], plan["bytes"]);
  // The real download sends as many feature reports as the plan says.
  const std::size_t planned = plan["reports"].get<std::size_t>();
  const long estimate = plan["estimateMs"].get<long>();
  const ClockDuration start = clock.Now();
  Run(simulation->binder(), ExampleCkd("td-b-letters.ckd"));
  EXPECT_EQ(exitCode, cli::kExitDone);
  EXPECT_EQ(simulation->device(0).featureReports().size(), planned);
  EXPECT_GE((clock.Now() - start).count(), estimate);
}

// The dry run lists what the download would warn of: the keypad found takes fewer keys.
TEST_F(DeviceSelection, DryRunListsTheProblemsOfTheFileForTheKeypadFound) {
  Plug({"td-a"});
  cli::DeviceCommandOptions options;
  options.dryRun = true;
  const nlohmann::json plan = Run(simulation->binder(), ExampleCkd("td-b-letters.ckd"), options);
  ASSERT_EQ(plan["problems"].size(), 24u) << plan.dump();
  EXPECT_EQ(plan["problems"][0]["key"], 24);
  EXPECT_TRUE(plan["problems"][0]["level"].is_null());
  EXPECT_EQ(plan["problems"][0]["text"], "holds codes but is not sent: the keypad takes 24 keys");

  const std::string text = RunOutput(simulation->binder(), ExampleCkd("td-b-letters.ckd"), options);
  const std::size_t list = text.find(
      "Problems (24):\n  Key 24: holds codes but is not sent: the keypad takes 24 keys\n");
  ASSERT_NE(list, std::string::npos) << text;
  EXPECT_LT(text.find("Flow: standard\n"), list) << "the list comes after the report";
  EXPECT_TRUE(simulation->device(0).featureReports().empty());

  const nlohmann::json clean =
      Run(simulation->binder(), ExampleCkd("td-a-function-keys.ckd"), options);
  EXPECT_EQ(clean["problems"], nlohmann::json::array());
  EXPECT_EQ(RunOutput(simulation->binder(), ExampleCkd("td-a-function-keys.ckd"), options)
                .find("Problems"),
            std::string::npos);
}

TEST_F(DeviceSelection, DryRunOverTheStreamCountsOutputReportsAndNamesTheGuide) {
  Plug({"td-a"});
  cli::DeviceCommandOptions options;
  options.dryRun = true;
  options.method = 1;
  const nlohmann::json plan =
      Run(simulation->binder(), ExampleCkd("td-a-function-keys.ckd"), options);
  EXPECT_EQ(exitCode, cli::kExitDone);
  EXPECT_EQ(plan["flow"], "prg-tmode-guide");
  EXPECT_EQ(plan["reportKind"], "output");
  EXPECT_GT(plan["estimateMs"].get<long>(), 0);
  EXPECT_TRUE(simulation->device(0).outputReports().empty());
}

TEST_F(DeviceSelection, DryRunWithoutADeviceSaysNothingWouldBeSent) {
  Plug({});
  cli::DeviceCommandOptions options;
  options.dryRun = true;
  const nlohmann::json plan =
      Run(simulation->binder(), ExampleCkd("td-a-function-keys.ckd"), options);
  EXPECT_EQ(exitCode, cli::kExitFailed);
  EXPECT_EQ(plan["flow"], "");
  EXPECT_EQ(plan["note"], "No keypad was found.");
}

// Where the Download command refuses before any flow, the dry run says nothing would be sent.
TEST_F(DeviceSelection, DryRunNamesNoFlowWhereTheDownloadRefuses) {
  const std::string bin = temp.Write("keys.bin", "flash drive copy");
  const std::string upg = ExampleCkd("td-a-demo.upg");
  struct Row {
    const char* device;
    std::string file;
    int method;
    const char* note;
  };
  const Row rows[] = {
      {"slimkey-947", ExampleCkd("td-a-function-keys.ckd"), 0,
       "Slimkey 947 keys are not programmable."},
      {"slimkey-947", bin, 2, "Slimkey 947 keys are not programmable."},
      {"slimkey-947", upg, 0, "Slimkey 947 keys are not programmable."},
      {"tdxx-bootloader", bin, 2, "The device is in bootloader mode: re-plug the keypad."},
      {"917-v4", upg, 0, "The older 917 firmware takes no firmware update."},
  };
  for (const Row& row : rows) {
    Plug({row.device});
    cli::DeviceCommandOptions options;
    options.dryRun = true;
    options.method = row.method;
    const nlohmann::json plan = Run(simulation->binder(), row.file, options);
    EXPECT_EQ(plan["flow"], "") << row.device << " " << row.file;
    EXPECT_EQ(plan["note"], row.note) << row.device << " " << row.file;
    EXPECT_NE(exitCode, cli::kExitDone);
  }
}

TEST_F(DeviceSelection, DetectAllListsEveryInterfaceWithWhyItCannotBeOpened) {
  Plug({"td-a", "wk-c:no-permission", "tdxx-bootloader"});
  std::unique_ptr<InterfaceLock> lock;
  ASSERT_EQ(simulation->bus().HidLockPath(sim::SimulatedBus::InterfacePath(2, 0).c_str(), lock),
            LockResult::Locked);
  Application app(environment, simulation->binder(), clock, drive);
  std::ostringstream out;
  EXPECT_EQ(cli::RunDetectAll(app.transport, true, out), cli::kDetectFound);
  const nlohmann::json list = nlohmann::json::parse(out.str());
  ASSERT_EQ(list["devices"].size(), 3u);
  EXPECT_EQ(list["devices"][0]["kind"], 5);
  EXPECT_EQ(list["devices"][0]["vendorId"], 0x1125);
  EXPECT_EQ(list["devices"][0]["productId"], 0x1807);
  EXPECT_EQ(list["devices"][0]["openable"], true);
  EXPECT_EQ(list["devices"][1]["path"], sim::SimulatedBus::InterfacePath(1, 0));
  EXPECT_EQ(list["devices"][1]["openable"], false);
  EXPECT_EQ(list["devices"][1]["problem"], "permission");
  EXPECT_EQ(list["devices"][2]["problem"], "in use");
  EXPECT_EQ(simulation->device(2).openCount(), 0);  // a busy interface is not opened
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);

  app.transport.SetDeviceFilter(sim::SimulatedBus::InterfacePath(0, 0));
  std::ostringstream filtered;
  cli::RunDetectAll(app.transport, true, filtered);
  EXPECT_EQ(nlohmann::json::parse(filtered.str())["devices"].size(), 1u);
}

}  // namespace
}  // namespace tdxx::test
