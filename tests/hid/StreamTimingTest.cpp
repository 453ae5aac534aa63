// The stream's timing on virtual time: what reaches the device when, and what a close keeps.
#include <gtest/gtest.h>

#include <numeric>

#include "SimFixture.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::microseconds;

std::vector<std::uint8_t> Counting(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
  return bytes;
}

void Open(SimRig& rig, ReportMode mode) {
  rig.transport->FindKeypad(false);
  ASSERT_FALSE(rig.transport->OpenStream(mode));
}

// A PRG/TMode download ends with its end byte and CloseStream right after: what is still queued
// at the close must reach the device.
TEST(StreamClose, SendsWhatIsStillQueued) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  const auto hundred = Counting(100);
  ASSERT_FALSE(rig.transport->SendBytes(hundred.data(), hundred.size()));
  rig.clock.Pause(110ms);
  // 15 reports, one every 10 ms: not all out yet.
  EXPECT_LT(rig.device().outputReports().size(), 15u);
  const ClockDuration closeStart = rig.clock.Now();
  rig.transport->CloseStream();
  EXPECT_EQ(rig.clock.Now() - closeStart, 100ms);
  const auto reports = rig.device().outputReports();
  ASSERT_EQ(reports.size(), 15u);
  EXPECT_EQ(rig.device().receivedPayload(), hundred);
  for (std::size_t i = 1; i < reports.size(); ++i)
    EXPECT_EQ(reports[i].time - reports[i - 1].time, 10ms) << "report " << i;
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
}

TEST(StreamClose, EndByteRightBeforeCloseArrives) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  // Low-speed reports take 10 ms each: the end byte is still queued when the close begins.
  rig.device().SetCallTimes(10ms, 10ms);
  const auto key = Counting(30);
  ASSERT_FALSE(rig.transport->SendBytes(key.data(), key.size()));
  const std::uint8_t end[] = {0xE2, 0xE5};
  ASSERT_FALSE(rig.transport->SendBytes(end, 2));
  rig.transport->CloseStream();
  const auto payload = rig.device().receivedPayload();
  ASSERT_GE(payload.size(), 2u);
  EXPECT_EQ(payload[payload.size() - 2], 0xE2);
  EXPECT_EQ(payload.back(), 0xE5);
}

// A device that takes no reports any more does not hold the close up beyond its 100 ms (one
// write already on the wire aside).
TEST(StreamClose, SlowOrGoneDeviceDoesNotHoldTheCloseUp) {
  SimRig rig({"prg-tmode"});
  // Each report takes 40 ms: a full queue would take seconds.
  rig.device().SetCallTimes(40ms, 1ms);
  Open(rig, ReportMode::T);
  const auto many = Counting(700);
  ASSERT_FALSE(rig.transport->SendBytes(many.data(), many.size()));
  ClockDuration start = rig.clock.Now();
  rig.transport->CloseStream();
  EXPECT_LE(rig.clock.Now() - start, 140ms);
  EXPECT_LE(rig.device().outputReports().size(), 4u);

  // Gone: every write fails at once.
  ASSERT_FALSE(rig.transport->OpenStream(ReportMode::T));
  rig.device().Unplug();
  ASSERT_FALSE(rig.transport->SendBytes(many.data(), many.size()));
  start = rig.clock.Now();
  rig.transport->CloseStream();
  EXPECT_EQ(rig.clock.Now() - start, 100ms);
  EXPECT_EQ(rig.bus().openHandleCount(), 0);
}

// Each report starts 10.0 ms after the one before started, whatever the write itself takes
// below that (a fraction of a millisecond included); a write that takes longer is followed at
// once.
TEST(StreamPumps, ReportsStartTenMillisecondsApartWhateverTheWriteTakes) {
  for (const ClockDuration writeTime :
       {ClockDuration(300us), ClockDuration(1ms), ClockDuration(12ms)}) {
    SimRig rig({"prg-tmode"});
    rig.device().SetCallTimes(writeTime, 700us);
    Open(rig, ReportMode::T);
    rig.clock.Pause(3300us);  // the writer's clock is off the whole milliseconds
    const auto bytes = Counting(70);
    ASSERT_FALSE(rig.transport->SendBytes(bytes.data(), bytes.size()));
    rig.clock.Pause(200ms);
    const auto reports = rig.device().outputReports();
    ASSERT_EQ(reports.size(), 10u);
    for (std::size_t i = 1; i < reports.size(); ++i)
      EXPECT_EQ(reports[i].time - reports[i - 1].time, std::max<ClockDuration>(writeTime, 10ms))
          << "report " << i << " with writes of " << writeTime.count() << " ns";
    rig.transport->CloseStream();
  }
}

// A write to a device that stopped answering blocks (up to the kernel's 5 s): the close waits
// for it in short pauses, during which the window paints, and it learns that the report is lost.
TEST(StreamClose, WaitsForABlockedWriteInPausesAndReportsTheLoss) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  rig.device().SetCallTimes(3s, 1ms);
  const std::uint8_t end[] = {0xE2, 0xE5};
  ASSERT_FALSE(rig.transport->SendBytes(end, 2));
  rig.clock.ClearPauses();
  const ClockDuration start = rig.clock.Now();
  rig.transport->CloseStream();
  EXPECT_GE(rig.clock.Now() - start, 2900ms);
  EXPECT_GE(rig.clock.pausedTotal(), 2900ms) << "the close waited without pausing";
  for (const ClockDuration pause : rig.clock.pauses())
    EXPECT_LE(pause, 100ms);
  EXPECT_FALSE(rig.transport->streamWriteFailed()) << "the slow write went out";
  EXPECT_EQ(rig.bus().openHandleCount(), 0);

  // A device gone before the close: the queued reports cannot be written, and the close says so
  // until the next stream opens.
  rig.device().SetCallTimes(1ms, 1ms);
  rig.transport->FindKeypad(false);
  ASSERT_FALSE(rig.transport->OpenStream(ReportMode::T));
  rig.device().Unplug();
  ASSERT_FALSE(rig.transport->SendBytes(end, 2));
  rig.transport->CloseStream();
  EXPECT_TRUE(rig.transport->streamWriteFailed());
  rig.device().Plug();
  rig.transport->FindKeypad(false);
  ASSERT_FALSE(rig.transport->OpenStream(ReportMode::T));
  EXPECT_FALSE(rig.transport->streamWriteFailed());
  rig.transport->CloseStream();
}

// The writer has a connection of its own: a report queued while the reader waits for input goes
// out at once, not after the reader's read window.
TEST(StreamPumps, WriterDoesNotWaitForTheReader) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  rig.clock.Pause(23ms);  // the reader is in the middle of a read window
  const ClockDuration sent = rig.clock.Now();
  ASSERT_FALSE(rig.transport->SendText("\x40\x06"));
  const auto reports = rig.device().outputReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].time, sent);
  rig.transport->CloseStream();
}

TEST(StreamPumps, ReaderWaitsEachWindowInOneRead) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  rig.device().ClearRecordings();
  rig.clock.Pause(1000ms);
  // One hid_read_timeout per 50 ms window, not a read every few milliseconds.
  EXPECT_GE(rig.device().readCallCount(), 19);
  EXPECT_LE(rig.device().readCallCount(), 21);
  // A reply arriving in the middle of a window is taken when it arrives.
  rig.device().SendPayload({1, 2, 3}, 7ms);
  rig.clock.Pause(7ms);
  EXPECT_EQ(rig.transport->BytesAvailable(), 3);
  rig.transport->CloseStream();
}

// A send that does not fit is dropped, yet the caller's 10 ms pause stays.
TEST(StreamPumps, DroppedSendStillPauses) {
  SimRig rig({"prg-tmode"});
  Open(rig, ReportMode::T);
  rig.device().Unplug();  // nothing leaves the queue any more
  const auto big = Counting(1000);
  ASSERT_FALSE(rig.transport->SendBytes(big.data(), big.size()));
  rig.clock.ClearPauses();
  const ClockDuration before = rig.clock.Now();
  EXPECT_TRUE(rig.transport->SendBytes(big.data(), 100));
  EXPECT_EQ(rig.clock.Now() - before, 10ms);
  EXPECT_EQ(rig.clock.pauses(), (std::vector<ClockDuration>{10ms}));
  rig.transport->CloseStream();
}

}  // namespace
}  // namespace tdxx::test
