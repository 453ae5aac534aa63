#include "sim/Simulation.h"

#include "sim/DeviceBehaviourFactory.h"
#include "sim/DeviceCatalog.h"
#include "sim/SimHidApi.h"
#include "sim/SimulatedBus.h"

namespace tdxx::sim {

struct Simulation::Impl {
  explicit Impl(Clock& clock) : bus(clock), binder(bus) {}
  SimulatedBus bus;
  SimHidBinder binder;
  std::vector<std::string> kinds;
};

Simulation::Simulation() = default;
Simulation::~Simulation() = default;

std::unique_ptr<Simulation> Simulation::Create(const std::vector<std::string>& kinds, Clock& clock,
                                               std::string& error) {
  std::unique_ptr<Simulation> simulation(new Simulation());
  simulation->impl_ = std::make_unique<Impl>(clock);
  for (const std::string& kind : kinds) {
    std::optional<DeviceConfig> config = DeviceConfigForKind(kind);
    if (!config) {
      error = "Unknown simulated device \"" + kind + "\".";
      return nullptr;
    }
    std::unique_ptr<DeviceBehaviour> behaviour = MakeDeviceBehaviour(*config);
    simulation->impl_->bus.AddDevice(std::move(*config), std::move(behaviour));
  }
  simulation->impl_->kinds = kinds;
  return simulation;
}

std::vector<std::string> Simulation::KnownKinds() {
  return CatalogKindNames();
}

HidLibraryBinder& Simulation::binder() {
  return impl_->binder;
}
SimHidBinder& Simulation::simBinder() {
  return impl_->binder;
}
SimulatedBus& Simulation::bus() {
  return impl_->bus;
}
const std::vector<std::string>& Simulation::kinds() const {
  return impl_->kinds;
}
SimulatedDevice& Simulation::device(std::size_t index) {
  return impl_->bus.device(index);
}

}  // namespace tdxx::sim
