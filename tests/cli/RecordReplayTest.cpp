#include <gtest/gtest.h>

#include <sstream>

#include "CliRunRig.h"
#include "cli/CommandOutcome.h"
#include "hid/RecordingHidBinder.h"
#include "sim/HidReplay.h"
#include "sim/SimulatedBus.h"

namespace tdxx::test {
namespace {

class RecordReplay : public CliRunRig {
 protected:
  // Downloads `file` to a simulated TD-A through the recording binder; returns the report.
  nlohmann::json Record(const std::string& file) {
    Plug({"td-a"});
    RecordingHidBinder recorder(simulation->binder(), clock, recording);
    const nlohmann::json report = Run(recorder, file);
    EXPECT_EQ(simulation->bus().overlaps(), 0);
    return report;
  }

  std::unique_ptr<sim::HidReplay> Replay() {
    std::istringstream text(recording.str());
    std::string error;
    std::unique_ptr<sim::HidReplay> replay = sim::HidReplay::Parse(text, clock, error);
    EXPECT_NE(replay, nullptr) << error;
    return replay;
  }

  std::stringstream recording;
};

TEST_F(RecordReplay, EveryCallIsOneJsonLineWithItsBytesAndTimes) {
  Record(ExampleCkd("td-a-function-keys.ckd"));
  ASSERT_EQ(exitCode, cli::kExitDone) << errors.str();
  std::string text;
  int sends = 0;
  double lastSendReturned = -1;
  int opens = 0;
  while (std::getline(recording, text)) {
    const nlohmann::json line = nlohmann::json::parse(text);
    ASSERT_TRUE(line.contains("t") && line.contains("ms") && line.contains("fn")) << text;
    if (line["fn"] == "hid_open_path") {
      ++opens;
      EXPECT_EQ(line["path"], sim::SimulatedBus::InterfacePath(0, 0));
      EXPECT_EQ(line["ret"], opens);  // handles are numbered by their opens
    }
    if (line["fn"] == "hid_send_feature_report") {
      ++sends;
      EXPECT_EQ(line["out"].get<std::string>().size(), 12u) << text;  // six bytes in hex
      EXPECT_EQ(line["ret"], 6);
      EXPECT_GE(line["ms"], 1);  // the simulated device's own time
      // The download paces its feature reports at 10.0 ms or more after the call before
      // returned; the times are fractional milliseconds.
      if (lastSendReturned >= 0) {
        EXPECT_GE(line["t"].get<double>() - lastSendReturned, 10.0) << text;
      }
      lastSendReturned = line["t"].get<double>() + line["ms"].get<double>();
    }
  }
  EXPECT_EQ(static_cast<std::size_t>(sends), simulation->device(0).featureReports().size());
}

TEST_F(RecordReplay, ARecordedDownloadReplaysToTheSameLogAndExitStatus) {
  const std::string file = ExampleCkd("td-a-function-keys.ckd");
  const nlohmann::json recorded = Record(file);
  ASSERT_EQ(exitCode, cli::kExitDone) << errors.str();

  std::unique_ptr<sim::HidReplay> replay = Replay();
  const nlohmann::json replayed = Run(replay->binder(), file);
  EXPECT_EQ(exitCode, cli::kExitDone);
  EXPECT_EQ(replay->firstDifference(), "");
  EXPECT_EQ(replayed["log"], recorded["log"]);
  EXPECT_EQ(replayed["keypadPanel"], recorded["keypadPanel"]);
  EXPECT_EQ(replayed["deviceKind"], 5);
}

TEST_F(RecordReplay, AReplayGivenOtherBytesNamesTheFirstDifferenceAndFails) {
  const std::string original = ExampleCkd("td-a-function-keys.ckd");
  Record(original);
  std::string changed = ReadWholeFile(original);
  const std::size_t at = changed.find("Character_Pacing=4");
  ASSERT_NE(at, std::string::npos);
  changed.replace(at, 18, "Character_Pacing=5");
  const std::string file = temp.Write("changed.ckd", changed);

  std::unique_ptr<sim::HidReplay> replay = Replay();
  const nlohmann::json replayed = Run(replay->binder(), file);
  EXPECT_EQ(exitCode, cli::kExitFailed);
  const std::string difference = replay->firstDifference();
  EXPECT_NE(difference.find("hid_send_feature_report #"), std::string::npos) << difference;
  EXPECT_NE(difference.find("on device 2"), std::string::npos) << difference;
  EXPECT_NE(difference.find("sent 000105000000, recorded 000104000000"), std::string::npos)
      << difference;
}

TEST(HidReplayParse, ALineThatIsNoRecordedCallIsRefusedWithItsNumber) {
  sim::VirtualClock clock;
  std::istringstream text("{\"fn\":\"hid_init\",\"ret\":0}\n\nnot json\n");
  std::string error;
  EXPECT_EQ(sim::HidReplay::Parse(text, clock, error), nullptr);
  EXPECT_EQ(error, "line 3 is not a recorded HID call");
}

TEST(HidReplayParse, CallsBeyondTheRecordingFailAndAreNamed) {
  sim::VirtualClock clock;
  std::istringstream text("{\"fn\":\"bind\",\"ret\":0}\n");
  std::string error;
  std::unique_ptr<sim::HidReplay> replay = sim::HidReplay::Parse(text, clock, error);
  ASSERT_NE(replay, nullptr) << error;
  std::unique_ptr<HidApi> api = replay->binder().Bind(error);
  ASSERT_NE(api, nullptr);
  EXPECT_EQ(api->open_path("/dev/hidraw9"), nullptr);
  EXPECT_EQ(replay->firstDifference(),
            "hid_open_path #1 on /dev/hidraw9 is not in the recording (it has 0)");
  EXPECT_EQ(replay->binder().Bind(error), nullptr);  // only one bind was recorded
}

}  // namespace
}  // namespace tdxx::test
