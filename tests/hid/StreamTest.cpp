#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <numeric>

#include "SimFixture.h"
#include "sim/DeviceCatalog.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

// Opens a stream to the first device of the rig.
void Open(SimRig& rig, ReportMode mode) {
  rig.transport->FindKeypad(false);
  ASSERT_FALSE(rig.transport->OpenStream(mode));
  rig.clock.ClearPauses();
}

std::vector<std::uint8_t> Counting(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  return bytes;
}

TEST(StreamFraming, TwoByteCommandInUIsOne65ByteReport) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  EXPECT_FALSE(rig.transport->SendText("\x40\x06"));
  rig.clock.Pause(100ms);
  const auto reports = rig.device().outputReports();
  ASSERT_EQ(reports.size(), 1u);
  std::vector<std::uint8_t> expected(65, 0);
  expected[1] = 2;
  expected[2] = 0x40;
  expected[3] = 0x06;
  EXPECT_EQ(reports[0].bytes, expected);
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms, 100ms}));
  rig.transport->CloseStream();
}

struct FramingCase {
  ReportMode mode;
  std::size_t sent;
  std::vector<int> counts;  // count byte of every output report
};

class StreamFramingCounts : public ::testing::TestWithParam<FramingCase> {};

TEST_P(StreamFramingCounts, SplitsIntoReportsOfTheModesCapacity) {
  const FramingCase& c = GetParam();
  SimRig rig({c.mode == ReportMode::U ? "tds-bootloader" : "prg-tmode"});
  Open(rig, c.mode);
  const auto payload = Counting(c.sent);
  EXPECT_FALSE(rig.transport->SendBytes(payload.data(), payload.size()));
  rig.clock.Pause(110ms);
  rig.transport->CloseStream();  // sends what is still queued
  const auto reports = rig.device().outputReports();
  ASSERT_EQ(reports.size(), c.counts.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    EXPECT_EQ(reports[i].bytes.size(), c.mode == ReportMode::U ? 65u : 9u);
    EXPECT_EQ(reports[i].bytes[0], 0);
    EXPECT_EQ(reports[i].bytes[1], c.counts[i]);
    // Zero fill after the payload.
    for (std::size_t b = 2 + c.counts[i]; b < reports[i].bytes.size(); ++b)
      EXPECT_EQ(reports[i].bytes[b], 0) << "report " << i << " byte " << b;
    // The writer pauses 10 ms after every report, on top of the report's own time.
    if (i > 0) {
      EXPECT_GE(reports[i].time - reports[i - 1].time, 10ms) << "report " << i;
    }
  }
  EXPECT_EQ(rig.device().receivedPayload(), payload);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamFramingCounts,
    ::testing::Values(
        FramingCase{ReportMode::T, 100, {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 2}},
        FramingCase{ReportMode::U, 32, {32}}, FramingCase{ReportMode::U, 130, {63, 63, 4}},
        FramingCase{ReportMode::T, 7, {7}}));

TEST(StreamQueues, ZeroAndHighBytesPassUnchanged) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  const auto bytes = Bytes({0x00, 0xFF, 0x80});
  EXPECT_FALSE(rig.transport->SendBytes(bytes.data(), bytes.size()));
  EXPECT_FALSE(rig.transport->SendText("\xFF\x01"));
  rig.clock.Pause(10ms);
  EXPECT_EQ(rig.device().receivedPayload(), Bytes({0x00, 0xFF, 0x80, 0xFF, 0x01}));
  rig.transport->CloseStream();
}

// Real time, but holds the writer in its worker sleep until released, so the outgoing queue can
// be filled.
class GateClock final : public SystemClock {
 public:
  void Pause(ClockDuration) override {}
  void SleepOnWorker(ClockDuration) override {
    std::unique_lock lock(mutex_);
    ++sleepers_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
    --sleepers_;
  }
  bool WaitForSleeper() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, 10s, [this] { return sleepers_ > 0; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int sleepers_ = 0;
  bool open_ = false;
};

TEST(StreamQueues, SendThatDoesNotFitIsDroppedWholeAndFails) {
  GateClock clock;
  std::string error;
  auto simulation = sim::Simulation::Create({"tds-bootloader"}, clock, error);
  HidTransport transport(simulation->binder(), clock);
  transport.FindKeypad(false);
  ASSERT_FALSE(transport.OpenStream(ReportMode::U));
  const auto first = Bytes({0x7E});
  ASSERT_FALSE(transport.SendBytes(first.data(), first.size()));
  ASSERT_TRUE(clock.WaitForSleeper());  // the writer sent its report and now sleeps

  const auto thousand = Counting(1000);
  EXPECT_FALSE(transport.SendBytes(thousand.data(), thousand.size()));
  const auto tooMany = Counting(24);
  EXPECT_TRUE(transport.SendBytes(tooMany.data(), tooMany.size()));
  const auto fits = Bytes({0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC,
                           0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7});
  EXPECT_FALSE(transport.SendBytes(fits.data(), fits.size()));
  const auto full = Bytes({0x01});
  EXPECT_TRUE(transport.SendBytes(full.data(), full.size()));  // 1023 held: nothing more

  clock.Open();
  std::vector<std::uint8_t> expected = first;
  expected.insert(expected.end(), thousand.begin(), thousand.end());
  expected.insert(expected.end(), fits.begin(), fits.end());
  sim::SimulatedDevice& device = simulation->device(0);
  EXPECT_TRUE(EventuallyTrue([&] { return device.receivedPayload().size() >= expected.size(); }));
  EXPECT_EQ(device.receivedPayload(), expected);
  transport.CloseStream();
}

TEST(StreamQueues, InputReportsFillTheQueueUpTo1023) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  sim::SimulatedDevice& device = rig.device();
  device.SendPayload(Counting(1019));
  rig.clock.Pause(0ms);
  EXPECT_EQ(rig.transport->BytesAvailable(), 1019);

  device.SendPayload(Bytes({1, 2, 3, 4, 5}));  // would make 1024: dropped whole
  rig.clock.Pause(0ms);
  EXPECT_EQ(rig.transport->BytesAvailable(), 1019);

  EXPECT_EQ(rig.transport->ReadByte(), 0);
  device.SendPayload(Bytes({1, 2, 3, 4, 5}));  // 1018 + 5 = 1023: taken
  rig.clock.Pause(0ms);
  EXPECT_EQ(rig.transport->BytesAvailable(), 1023);
  EXPECT_EQ(rig.clock.stalls(), 0);
  rig.transport->CloseStream();
}

struct InputCase {
  const char* label;
  ReportMode mode;
  std::vector<std::uint8_t> report;  // as hid_read_timeout gives it: count first
  std::vector<std::uint8_t> taken;
};

class StreamInputReports : public ::testing::TestWithParam<InputCase> {};

TEST_P(StreamInputReports, CountByteDecides) {
  const InputCase& c = GetParam();
  SimRig rig({c.mode == ReportMode::U ? "tds-bootloader" : "prg-tmode"});
  Open(rig, c.mode);
  rig.device().SendInputReport(c.report);
  rig.clock.Pause(0ms);
  std::vector<std::uint8_t> taken;
  while (rig.transport->BytesAvailable() > 0)
    taken.push_back(rig.transport->ReadByte());
  EXPECT_EQ(taken, c.taken);
  rig.transport->CloseStream();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StreamInputReports,
    ::testing::Values(
        InputCase{"CountZeroAddsNothing", ReportMode::U, Bytes({0, 9, 9, 9}), {}},
        InputCase{"PayloadInOrder", ReportMode::T, Bytes({3, 'a', 0, 'c', 9, 9, 9, 9}),
                  Bytes({'a', 0, 'c'})},
        InputCase{
            "CountAboveCapacityInTIsDropped", ReportMode::T, Bytes({8, 1, 2, 3, 4, 5, 6, 7}), {}},
        InputCase{"FullCapacityInT", ReportMode::T, Bytes({7, 1, 2, 3, 4, 5, 6, 7}),
                  Bytes({1, 2, 3, 4, 5, 6, 7})},
        InputCase{
            "CountAboveCapacityInUIsDropped", ReportMode::U, std::vector<std::uint8_t>(64, 64), {}},
        // The count decides, not the length the read returned: missing bytes read as 0.
        InputCase{"ShortTransfer", ReportMode::U, Bytes({4, 'x'}), Bytes({'x', 0, 0, 0})}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StreamQueues, ReadingDrainsInArrivalOrderThenGivesZero) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  rig.device().SendPayload(Bytes({0x11, 0x22}));
  rig.device().SendPayload(Bytes({0x33}));
  rig.clock.Pause(0ms);
  EXPECT_EQ(rig.transport->BytesAvailable(), 3);
  EXPECT_EQ(rig.transport->ReadByte(), 0x11);
  EXPECT_EQ(rig.transport->ReadByte(), 0x22);
  EXPECT_EQ(rig.transport->ReadByte(), 0x33);
  EXPECT_EQ(rig.transport->BytesAvailable(), 0);
  EXPECT_EQ(rig.transport->ReadByte(), 0);
  rig.transport->CloseStream();
}

TEST(StreamLifecycle, WithoutAStreamSendsFailAndNothingWaits) {
  SimRig rig({"tds-bootloader"});
  EXPECT_TRUE(rig.transport->SendText("\x40\x06"));
  const auto bytes = Bytes({1});
  EXPECT_TRUE(rig.transport->SendBytes(bytes.data(), bytes.size()));
  EXPECT_EQ(rig.transport->BytesAvailable(), 0);
  EXPECT_EQ(rig.transport->ReadByte(), 0);
  EXPECT_FALSE(rig.transport->streamOpen());
  EXPECT_TRUE(rig.clock.pauses().empty());
}

TEST(StreamLifecycle, RefusedWhileAFeatureHandleIsHeld) {
  SimRig rig({"tds-bootloader"});
  ASSERT_EQ(rig.transport->FindKeypad(true), 7);
  EXPECT_TRUE(rig.transport->OpenStream(ReportMode::U));
  // The held handle is untouched and still works.
  EXPECT_TRUE(rig.transport->hidBound());
  EXPECT_EQ(rig.bus().openHandleCount(), 1);
  std::array<std::uint8_t, 9> identity{};
  EXPECT_FALSE(rig.transport->ReadFeature9(identity));
  rig.transport->CloseKeypad();
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
}

TEST(StreamLifecycle, FailedOpenCleansUpThroughCloseKeypad) {
  SimRig rig({"tds-bootloader"});
  rig.transport->FindKeypad(false);
  rig.device().RefuseOpen(EBUSY);
  EXPECT_TRUE(rig.transport->OpenStream(ReportMode::U));
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms, 10ms}));
}

TEST(StreamLifecycle, CloseWaitsEndsThePumpsAndUnbinds) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  EXPECT_TRUE(rig.transport->streamOpen());
  EXPECT_TRUE(rig.transport->OpenStream(ReportMode::U));  // already open
  rig.transport->CloseStream();
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{100ms}));
  EXPECT_FALSE(rig.transport->streamOpen());
  EXPECT_FALSE(rig.transport->hidBound());
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
  // A second stream on the same path works.
  ASSERT_FALSE(rig.transport->OpenStream(ReportMode::U));
  rig.transport->CloseStream();
}

TEST(StreamLifecycle, UnpluggedDeviceMakesTheStreamSilentNotStuck) {
  SimRig rig({"tds-bootloader"});
  Open(rig, ReportMode::U);
  rig.device().UnplugAfterReports(1);
  EXPECT_FALSE(rig.transport->SendText("\x40\x06"));
  rig.clock.Pause(100ms);
  EXPECT_FALSE(rig.device().plugged());
  EXPECT_EQ(rig.transport->BytesAvailable(), 0);
  EXPECT_FALSE(rig.transport->SendText("\x40\x19"));  // queued; the write fails unseen
  rig.clock.Pause(100ms);
  rig.transport->CloseStream();
  EXPECT_EQ(rig.device().outputReports().size(), 1u);
  EXPECT_EQ(rig.transport->FindKeypad(false), 0);
  EXPECT_EQ(rig.clock.stalls(), 0);
}

// The same conversation on real time and real threads, with wide margins.
TEST(StreamRealTime, VersionQueryOnTheSystemClock) {
  SystemClock clock;
  std::string error;
  auto simulation = sim::Simulation::Create({"prg-tmode"}, clock, error);
  HidTransport transport(simulation->binder(), clock);
  ASSERT_EQ(transport.FindKeypad(false), 9);
  ASSERT_FALSE(transport.OpenStream(ReportMode::T));
  EXPECT_FALSE(transport.SendText("\x40\x06"));
  EXPECT_TRUE(EventuallyTrue([&] { return transport.BytesAvailable() >= 16; }));
  std::string version;
  while (transport.BytesAvailable() > 0)
    version += static_cast<char>(transport.ReadByte());
  EXPECT_EQ(version, "TD-A TMode v3.12");
  const auto hundred = Counting(100);
  EXPECT_FALSE(transport.SendBytes(hundred.data(), hundred.size()));
  EXPECT_TRUE(
      EventuallyTrue([&] { return simulation->device(0).outputReports().size() == 1 + 15; }));
  transport.CloseStream();
  EXPECT_EQ(simulation->bus().openHandleCount(), 0);
}

}  // namespace
}  // namespace tdxx::test
