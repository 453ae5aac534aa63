#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hid/HidTransport.h"
#include "sim/SimHidApi.h"
#include "sim/SimulatedBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/Simulation.h"
#include "sim/VirtualClock.h"

namespace tdxx::test {

// A transport over simulated devices on virtual time.
struct SimRig {
  explicit SimRig(const std::vector<std::string>& kinds) {
    std::string error;
    simulation = sim::Simulation::Create(kinds, clock, error);
    EXPECT_NE(simulation, nullptr) << error;
    transport = std::make_unique<HidTransport>(simulation->binder(), clock);
  }
  ~SimRig() {
    transport.reset();
    // hidapi allows one call at a time on a connection; a wait nothing could end means the
    // test depended on real timing.
    EXPECT_EQ(bus().overlaps(), 0);
    EXPECT_EQ(clock.stalls(), 0);
  }

  sim::SimulatedBus& bus() { return simulation->bus(); }
  sim::SimulatedDevice& device(std::size_t index = 0) { return simulation->device(index); }

  sim::VirtualClock clock;
  std::unique_ptr<sim::Simulation> simulation;
  std::unique_ptr<HidTransport> transport;
};

// Polls `condition` in real time; for the tests that run on the system clock.
inline bool EventuallyTrue(const std::function<bool()>& condition,
                           std::chrono::milliseconds limit = std::chrono::milliseconds(5000)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int value : values)
    bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

}  // namespace tdxx::test
