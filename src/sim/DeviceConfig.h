#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "hid/HidTransport.h"
#include "sim/BootloaderFlash.h"
#include "sim/KeyImageDecoder.h"

namespace tdxx::sim {

using Bytes = std::vector<std::uint8_t>;

// How a simulated device answers one stream command (0x40 and the command byte).
struct CommandReply {
  // The reply bytes; they go out in as many input reports as the device's report size needs.
  Bytes bytes;
  // False: the command goes unanswered.
  bool answered = true;
  // Virtual (or, on the system clock, real) time between receiving the command and the reply
  // becoming readable: 0 answers at once, more makes a late answer.
  ClockDuration delay{0};
};

// The firmware that answers a device's reports: none beyond the defaults, a keypad in normal
// operation that takes key definitions as feature reports, a device in PRG/TMode that takes
// them through the report stream, or a bootloader that takes firmware blocks.
enum class DeviceFirmware { Plain, Keypad, PrgTMode, Bootloader };

// Everything that tells one simulated device from another. Devices are built from a kind name
// (DeviceCatalog) and can be changed afterwards through SimulatedDevice.
struct DeviceConfig {
  // Kind name as given to Simulation::Create ("tds-bootloader", ...).
  std::string name;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  // HID interfaces the device exposes, each with the same identifiers.
  int interfaceCount = 1;
  // Top-level collections in each interface's report descriptor. hidapi on Linux lists an
  // interface once per collection, every entry with the same path.
  int collectionsPerInterface = 1;
  std::wstring manufacturer = L"Quorvane";
  std::wstring product;
  // Report size of the device's report stream: in 'U' input reports are 64 bytes (count and
  // up to 63 payload bytes), in 'T' 8 bytes (count and up to 7). Empty for keypads in normal
  // operation, which never answer through input reports.
  std::optional<ReportMode> streamMode;
  // The identity feature report as hid_get_feature_report returns it (report ID 0 first; 9
  // bytes for bootloaders, 6 for the PRG/TMode device). Empty: a zero-filled report.
  Bytes identityReport;
  // Feature reads (hid_get_feature_report) fail.
  bool identityReadFails = false;
  // Feature writes (hid_send_feature_report) fail.
  bool featureSendFails = false;
  // Non-zero: every hid_open_path on the device fails with this errno (EACCES: no udev rule).
  int openErrno = 0;
  // Non-zero: every hid_open_path fails with EACCES for this long after the device appears on
  // the bus (the moment before udev has applied the rule that grants access).
  ClockDuration openRefusedAfterAppearing{0};
  // Stream command replies by command byte (the byte after 0x40).
  std::map<std::uint8_t, CommandReply> replies;
  // Non-zero: the device is unplugged right after receiving this many output reports (counted
  // from when it was set), without answering the last one.
  int unplugAfterReports = 0;
  // The time one hid_write and one feature report call take on the device (a full-speed
  // interrupt transfer or control transfer takes about a millisecond; a low-speed one more).
  ClockDuration writeTime{0};
  ClockDuration featureTime{0};
  // Which firmware model answers the reports (the catalog sets it by kind).
  DeviceFirmware firmware = DeviceFirmware::Plain;
  // What the device made of the key definitions it took in; shared by every copy of the
  // configuration, so a test reads it from SimulatedDevice::config(). Null for plain devices.
  std::shared_ptr<KeyImageRecorder> keyImage;
  // Non-zero: the feature report with this number (counted from 1 since the device was made)
  // is rejected and not taken in.
  int rejectFeatureReport = 0;
  // Non-zero: the device is unplugged right after taking this many feature reports.
  int unplugAfterFeatureReports = 0;
  // Non-zero: in PRG/TMode pings go unanswered from the one before this key on (keys counted
  // from 1), as when the keypad stops in the middle of a download.
  int noPingFromKey = 0;
  // Non-zero: in PRG/TMode the device leaves the bus (for good) once it has taken this many
  // keys, before the download's end byte.
  int unplugAfterKey = 0;

  // Leaving and coming back. A keypad that receives the bootloader launch (feature bytes 0xE4
  // 0x08, or 0x40 0x0B in PRG/TMode) leaves the bus and comes back as the catalog kind named
  // here (empty: it ignores the launch). Erase and reboot make a keypad leave and come back as
  // itself; a bootloader's restart brings back `returnAs` (itself when null).
  std::string bootloaderKind;
  std::shared_ptr<DeviceConfig> returnAs;
  // How long the device is away after a launch, erase, reboot or restart; never back when
  // neverReturns is set.
  ClockDuration returnDelay{3000};
  bool neverReturns = false;

  // Bootloader firmware model: its flash (null for other devices), the time the erase takes
  // before its answer, and the answer byte (0x17 when right).
  std::shared_ptr<BootloaderFlash> flash;
  ClockDuration eraseTime{500};
  bool eraseUnanswered = false;
  std::uint8_t eraseAnswer = 0x17;
  // Non-zero: the read-back of this block transfer (counted from 1 over every transfer of 16
  // chunks) and of the corruptReadbackTimes - 1 transfers after it returns one wrong byte.
  int corruptReadbackAttempt = 0;
  int corruptReadbackTimes = 1;
  // Where the wrong read-back byte is: its chunk (0 to 15) and its byte in the chunk (0 to 31).
  int corruptReadbackChunk = 3;
  int corruptReadbackByte = 7;
  // Burn or verify answer 0x00 instead of their command byte.
  bool burnRefused = false;
  bool verifyRefused = false;
};

}  // namespace tdxx::sim
