#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "hid/HidApi.h"

namespace tdxx::sim {

class SimulatedBus;

// A set of simulated devices plugged in for the whole run, reachable through a HID binder that
// the transport uses instead of the real library (--simulate=KIND[,KIND...]).
class Simulation {
 public:
  // Kinds are names such as "td-a", "td-b", "wk-c", "tdxx-bootloader", "tds-bootloader",
  // "prg-tmode"; null with `error` set when a name is unknown.
  static std::unique_ptr<Simulation> Create(const std::vector<std::string>& kinds, Clock& clock,
                                            std::string& error);
  // Every kind name Create accepts, for help texts.
  static std::vector<std::string> KnownKinds();

  ~Simulation();
  HidLibraryBinder& binder();
  SimulatedBus& bus();
  // The kinds as given, for the "Simulated devices: ..." log line.
  const std::vector<std::string>& kinds() const;

 private:
  Simulation();
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tdxx::sim
