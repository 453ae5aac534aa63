#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "hid/HidTransport.h"
#include "protocol/DeviceInfo.h"
#include "protocol/ProtocolContext.h"
#include "sim/SimHidApi.h"
#include "sim/SimulatedBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/Simulation.h"
#include "sim/VirtualClock.h"
#include "support/FakeDriveLocator.h"
#include "support/FakeMainWindowPort.h"

namespace tdxx::test {

// Detection and the version queries over simulated devices on virtual time, with a recording
// main window and a keypad drive that is there when drive.mountPoint is set.
struct ProtocolRig {
  explicit ProtocolRig(const std::vector<std::string>& kinds) {
    std::string error;
    simulation = sim::Simulation::Create(kinds, clock, error);
    EXPECT_NE(simulation, nullptr) << error;
    transport = std::make_unique<HidTransport>(simulation->binder(), clock);
  }
  ~ProtocolRig() {
    transport.reset();
    // hidapi allows one call at a time on a connection; a wait nothing could end means the
    // test depended on real timing.
    EXPECT_EQ(bus().overlaps(), 0);
    EXPECT_EQ(clock.stalls(), 0);
  }

  ProtocolContext Context() { return ProtocolContext{port, *transport, info, drive, deviceKind}; }
  sim::SimulatedBus& bus() { return simulation->bus(); }
  sim::SimulatedDevice& device(std::size_t index = 0) { return simulation->device(index); }
  // Pauses the protocol code made through the main window (the transport's own are not here).
  int PausesOf(Milliseconds duration) const {
    int count = 0;
    for (Milliseconds pause : port.pauses)
      count += pause == duration ? 1 : 0;
    return count;
  }

  sim::VirtualClock clock;
  std::unique_ptr<sim::Simulation> simulation;
  std::unique_ptr<HidTransport> transport;
  FakeMainWindowPort port{clock};
  DeviceInfo info{};
  FakeDriveLocator drive;
  DeviceKind deviceKind = 0;
};

inline std::vector<std::uint8_t> ByteList(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int value : values)
    bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

inline std::vector<std::uint8_t> TextBytes(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace tdxx::test
