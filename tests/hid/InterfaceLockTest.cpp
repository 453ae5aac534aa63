// Two connections on one machine: the interface lock keeps the second off a device the first
// talks to.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "SimFixture.h"
#include "TempFolder.h"
#include "hid/DeviceNodeLock.h"

namespace tdxx::test {
namespace {

using namespace std::chrono_literals;

TEST(InterfaceLock, AnotherInstanceDoesNotDisturbAnOpenStream) {
  SimRig rig({"tds-bootloader"});
  HidTransport other(rig.simulation->binder(), rig.clock);
  ASSERT_EQ(rig.transport->FindKeypad(false), 7);
  ASSERT_FALSE(rig.transport->OpenStream(ReportMode::U));
  const int opensBefore = rig.device().openCount();

  // Detection from elsewhere names the device but opens nothing on it.
  EXPECT_EQ(other.FindKeypad(false), 7);
  EXPECT_EQ(other.busyPaths(), std::vector<std::string>{sim::SimulatedBus::InterfacePath(0, 0)});
  EXPECT_EQ(rig.device().openCount(), opensBefore);
  // Its feature handle and its stream are refused.
  EXPECT_EQ(other.FindKeypad(true), 0);
  other.CloseKeypad();
  other.FindKeypad(false);
  EXPECT_TRUE(other.OpenStream(ReportMode::U));
  EXPECT_FALSE(other.hidBound());
  EXPECT_EQ(rig.device().openCount(), opensBefore);

  rig.transport->CloseStream();
  EXPECT_TRUE(rig.bus().lockedPaths().empty());
  // Free again.
  EXPECT_EQ(other.FindKeypad(true), 7);
  EXPECT_TRUE(other.busyPaths().empty());
  other.CloseKeypad();
  EXPECT_TRUE(rig.bus().lockedPaths().empty());
}

TEST(InterfaceLock, FeatureHandleHoldsTheLockUntilClosed) {
  SimRig rig({"td-a"});
  HidTransport other(rig.simulation->binder(), rig.clock);
  ASSERT_EQ(rig.transport->FindKeypad(true), 5);
  EXPECT_EQ(rig.bus().lockedPaths().size(), 1u);
  EXPECT_EQ(other.FindKeypad(true), 0);
  other.CloseKeypad();
  rig.transport->CloseKeypad();
  EXPECT_TRUE(rig.bus().lockedPaths().empty());
}

// The real lock: flock on the node, per open file description.
TEST(InterfaceLock, NodeLockIsExclusiveAndReleasedWithItsObject) {
  TempFolder temp;
  const std::string node = temp / "hidraw9";
  std::ofstream(node) << "";
  std::unique_ptr<InterfaceLock> first;
  std::unique_ptr<InterfaceLock> second;
  ASSERT_EQ(LockDeviceNode(node.c_str(), first), LockResult::Locked);
  EXPECT_EQ(LockDeviceNode(node.c_str(), second), LockResult::HeldElsewhere);
  EXPECT_EQ(second, nullptr);
  first.reset();
  EXPECT_EQ(LockDeviceNode(node.c_str(), second), LockResult::Locked);
  EXPECT_EQ(LockDeviceNode((temp / "missing").c_str(), first), LockResult::NotLockable);
}

// hidapi allows one call at a time on a connection; the simulated bus notices two.
TEST(SimulatedBusCalls, OverlappingCallsOnOneConnectionAreCounted) {
  sim::VirtualClock clock;
  std::string error;
  auto simulation = sim::Simulation::Create({"prg-tmode"}, clock, error);
  sim::SimulatedBus& bus = simulation->bus();
  bus.device(0).SetCallTimes(5ms, 1ms);
  hid_device* shared = bus.HidOpenPath(sim::SimulatedBus::InterfacePath(0, 0).c_str());
  hid_device* own = bus.HidOpenPath(sim::SimulatedBus::InterfacePath(0, 0).c_str());
  const std::uint8_t report[9] = {0, 1, 0x55};
  auto writeOn = [&bus, &report](hid_device* device) {
    return [&bus, &report, device] { bus.HidWrite(device, report, sizeof report); };
  };
  {
    auto a = clock.StartWorker(writeOn(shared));
    auto b = clock.StartWorker(writeOn(own));
    clock.Advance(10ms);
  }
  EXPECT_EQ(bus.overlaps(), 0);
  {
    auto a = clock.StartWorker(writeOn(shared));
    auto b = clock.StartWorker(writeOn(shared));
    clock.Advance(10ms);
  }
  EXPECT_EQ(bus.overlaps(), 1);
  bus.HidClose(shared);
  bus.HidClose(own);
  EXPECT_EQ(clock.stalls(), 0);
}

}  // namespace
}  // namespace tdxx::test
