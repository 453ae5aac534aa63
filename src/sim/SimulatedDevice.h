#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "sim/DeviceBehaviour.h"
#include "sim/DeviceConfig.h"

namespace tdxx::sim {

class SimulatedBus;

// One report a device received or sent, with the clock's time (virtual time in tests).
struct RecordedReport {
  ClockDuration time{0};
  // When the call that carried it returned (feature and output reports).
  ClockDuration ended{0};
  // Feature and output reports as the host sent them (report ID first); input reports as the
  // host reads them (count first).
  Bytes bytes;
  // Interface the report went through (0 for input reports, which reach every open handle).
  int interfaceIndex = 0;
};

// A simulated device at the level of HID reports. Created by SimulatedBus::AddDevice; lives as
// long as the bus. Every member is safe to call from any thread (they take the bus lock).
class SimulatedDevice {
 public:
  SimulatedDevice(SimulatedBus& bus, DeviceConfig config,
                  std::unique_ptr<DeviceBehaviour> behaviour);
  ~SimulatedDevice();
  SimulatedDevice(const SimulatedDevice&) = delete;
  SimulatedDevice& operator=(const SimulatedDevice&) = delete;

  const std::string& name() const { return name_; }
  // Index among the bus's devices, in the order they were added.
  int index() const { return index_; }
  SimulatedBus& bus() { return bus_; }

  // Configuration: a copy, or a change made under the bus lock.
  DeviceConfig config() const;
  void Configure(const std::function<void(DeviceConfig&)>& change);
  // Replaces what the device does with its reports; never from inside the running behaviour.
  void SetBehaviour(std::unique_ptr<DeviceBehaviour> behaviour);
  // Shorthands for Configure.
  void SetIdentifiers(std::uint16_t vendorId, std::uint16_t productId);
  void SetInterfaceCount(int count);
  void SetIdentityReport(Bytes report);
  void FailIdentityRead(bool fails = true);
  void FailFeatureSend(bool fails = true);
  void RefuseOpen(int errnoValue);  // 0 opens again
  // Every open fails with EACCES for `duration` after the device appears on the bus (from now,
  // when it is plugged in already), as a node does before udev has applied its rule.
  void RefuseOpenAfterAppearing(ClockDuration duration);
  void SetReply(std::uint8_t command, Bytes bytes);
  void SetNoAnswer(std::uint8_t command);
  void SetLateAnswer(std::uint8_t command, ClockDuration delay);
  // Keeps only the first `length` bytes of the reply.
  void SetShortAnswer(std::uint8_t command, std::size_t length);
  // Replaces the reply by as many bytes of non-printable, zero and high garbage.
  void SetGarbageAnswer(std::uint8_t command);
  void UnplugAfterReports(int count);
  // The time every hid_write and every feature report call takes.
  void SetCallTimes(ClockDuration write, ClockDuration feature);

  // Plugging. An unplugged device is missing from the enumeration, refuses to open and makes
  // every open handle fail (reads, writes and feature calls return -1), as hidapi does.
  void Unplug();
  void Plug();
  bool plugged() const;
  // Leaves the bus now and, `after` later, comes back as a device made from `as` with
  // `behaviour` (null: the bus's default for `as`), under the same path; without `after` it
  // stays away. Safe from inside the running behaviour: the exchange happens when the bus next
  // enumerates or opens once the time has come.
  void LeaveAndReturn(std::optional<ClockDuration> after, DeviceConfig as,
                      std::unique_ptr<DeviceBehaviour> behaviour);
  // True while a return is due.
  bool returnPending() const;

  // Input. SendPayload splits the bytes into input reports of the device's stream report size
  // (count first); SendInputReport sends one report exactly as given. Both reach every handle
  // open on the device at that moment and become readable after `delay`.
  void SendPayload(const Bytes& payload, ClockDuration delay = ClockDuration(0));
  void SendInputReport(Bytes report, ClockDuration delay = ClockDuration(0));

  // Recordings.
  std::vector<RecordedReport> featureReports() const;
  std::vector<RecordedReport> outputReports() const;
  std::vector<RecordedReport> inputReports() const;
  // The payload bytes of every output report received, in order (count byte honoured).
  Bytes receivedPayload() const;
  int featureReadCount() const;
  int readCallCount() const;    // hid_read_timeout calls on any handle of the device
  int openCount() const;        // successful hid_open_path calls
  int openHandleCount() const;  // handles open now
  void ClearRecordings();

  // The bus's clock.
  ClockDuration Now() const;

 private:
  friend class SimulatedBus;

  SimulatedBus& bus_;
  const std::string name_;
  int index_ = 0;
  DeviceConfig config_;
  std::unique_ptr<DeviceBehaviour> behaviour_;
  bool plugged_ = true;
  struct PendingReturn {
    ClockDuration due{0};
    DeviceConfig config;
    std::unique_ptr<DeviceBehaviour> behaviour;
  };
  std::optional<PendingReturn> return_;
  int outputReportsSinceUnplugSet_ = 0;
  // When the device last appeared on the bus.
  ClockDuration appearedAt_{0};
  int featureReads_ = 0;
  int readCalls_ = 0;
  int opens_ = 0;
  std::vector<RecordedReport> featureReports_;
  std::vector<RecordedReport> outputReports_;
  std::vector<RecordedReport> inputReports_;
};

}  // namespace tdxx::sim
