#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tdxx::sim {

class SimulatedDevice;

// What a simulated device does with the reports it receives. The device records every report
// before it reaches the behaviour. Calls come with the bus locked (the lock is recursive, so a
// behaviour may use every SimulatedDevice operation) and must not block.
class DeviceBehaviour {
 public:
  virtual ~DeviceBehaviour() = default;

  // hid_send_feature_report: the report as sent, report ID first. Returns what the call
  // returns (the length, or -1 to fail). The default accepts unless featureSendFails is set.
  virtual int OnSetFeature(SimulatedDevice& device, std::span<const std::uint8_t> report);

  // hid_get_feature_report: `buffer` holds the requested report ID in byte 0. Returns the
  // bytes filled in, or -1. The default answers with the identity report of the configuration
  // (zero-filled past its end), or fails when identityReadFails is set.
  virtual int OnGetFeature(SimulatedDevice& device, std::span<std::uint8_t> buffer);

  // hid_write: one output report, report ID first. The default ignores it.
  virtual void OnOutputReport(SimulatedDevice& device, std::span<const std::uint8_t> report);

  // The device was unplugged or plugged in again.
  virtual void OnUnplug(SimulatedDevice& device);
  virtual void OnPlug(SimulatedDevice& device);
};

// A keypad in normal operation: takes feature reports (recorded by the device), answers feature
// reads with a zero-filled report, ignores output reports. Later work interprets the feature
// bytes (key download, erase, reboot, bootloader launch) by deriving from it.
class KeypadBehaviour : public DeviceBehaviour {};

// A device that speaks through the report stream (bootloaders, the PRG/TMode device): the
// payload of every output report joins a byte stream, which Consume takes apart into commands.
class StreamCommandBehaviour : public DeviceBehaviour {
 public:
  void OnOutputReport(SimulatedDevice& device, std::span<const std::uint8_t> report) override;
  void OnUnplug(SimulatedDevice& device) override;

  // Bytes received and not yet consumed.
  const std::vector<std::uint8_t>& pending() const { return pending_; }

 protected:
  // Takes the next command off the front of `pending` and returns how many bytes it used, or
  // 0 when more bytes are needed. The default knows the two-byte commands 0x40 xx and answers
  // them from the configuration's replies (unknown commands go unanswered); any other byte is
  // passed to OnStrayByte and consumed. Later behaviours (key download, firmware blocks) extend
  // it.
  virtual std::size_t Consume(SimulatedDevice& device, std::span<const std::uint8_t> pending);
  // Called for a two-byte command 0x40 `command`. The default answers from the replies.
  virtual void OnCommand(SimulatedDevice& device, std::uint8_t command);
  // A byte that starts no known command. The default drops it.
  virtual void OnStrayByte(SimulatedDevice& device, std::uint8_t byte);

 private:
  std::vector<std::uint8_t> pending_;
};

}  // namespace tdxx::sim
