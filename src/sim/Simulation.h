#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "hid/HidApi.h"

namespace tdxx::sim {

class SimulatedBus;
class SimulatedDevice;
class SimHidBinder;

// A set of simulated devices plugged in for the whole run, reachable through a HID binder that
// the transport uses instead of the real library (--simulate=KIND[,KIND...]).
class Simulation {
 public:
  // Kinds are names such as "td-a", "td-b", "wk-c", "tdxx-bootloader", "tds-bootloader",
  // "prg-tmode" (KnownKinds lists them all; options and "hid-VVVV-PPPP" as in DeviceCatalog.h);
  // one device per name, enumerated in the order given. Null with `error` set when a name is
  // unknown. The clock stamps the recordings and times late answers.
  static std::unique_ptr<Simulation> Create(const std::vector<std::string>& kinds, Clock& clock,
                                            std::string& error);
  // Every kind name Create accepts, for help texts.
  static std::vector<std::string> KnownKinds();

  ~Simulation();
  HidLibraryBinder& binder();
  SimulatedBus& bus();
  // The kinds as given, for the "Simulated devices: ..." log line.
  const std::vector<std::string>& kinds() const;

  // The binder with its test controls (bind count, forced failure).
  SimHidBinder& simBinder();
  // The device made from kinds()[index].
  SimulatedDevice& device(std::size_t index);

 private:
  Simulation();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tdxx::sim
