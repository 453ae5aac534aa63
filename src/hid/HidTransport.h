#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hid/Clock.h"
#include "hid/DeviceKind.h"
#include "hid/HidApi.h"
#include "hid/ReportMode.h"

namespace tdxx {

// One attached interface whose identifiers are in the identifier table, as SurveyInterfaces
// finds it.
struct AttachedInterface {
  DeviceKind kind = 0;
  std::string path;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  bool openable = false;
  // Why it cannot be opened now: InUse (another connection holds its lock), NoPermission
  // (errno EACCES or EPERM), Failed (any other failure; `error` has the library's text).
  enum class Problem { None, InUse, NoPermission, Failed } problem = Problem::None;
  std::string error;
};

// The one device connection of the program: run-time binding of the HID library, discovery of
// the connected keypad, the feature-report channel and the report stream with its pump threads.
// Every operation runs on the user-interface thread; only the pump threads of an open stream run
// elsewhere. Failed flags are true on failure.
class HidTransport {
 public:
  HidTransport(HidLibraryBinder& binder, Clock& clock);
  ~HidTransport();
  HidTransport(const HidTransport&) = delete;
  HidTransport& operator=(const HidTransport&) = delete;

  // Binding.
  bool LoadHidLibrary();
  void UnloadHidLibrary();
  bool hidBound() const;
  // Why the last LoadHidLibrary failed (the loader's error text); empty after a success.
  const std::string& bindError() const;

  // Discovery.
  // Limits discovery (FindKeypad and SurveyInterfaces) to the interface with this path, as
  // hidapi names it; empty looks at every interface.
  void SetDeviceFilter(std::string path);
  const std::string& deviceFilter() const;
  DeviceKind FindKeypad(bool keepOpen);
  // Every attached interface in the identifier table (one entry per path, enumeration order),
  // each opened and closed at once to learn whether it can be used; an interface locked by
  // another connection is not opened. Fails (true) when the library cannot be bound, or while
  // this transport holds a device. Leaves the library as it found it.
  bool SurveyInterfaces(std::vector<AttachedInterface>& out);
  void CloseKeypad();
  const std::string& devicePath() const;
  // While `grace` is above zero, every open of a discovery or a stream that is refused for lack
  // of permission (EACCES, EPERM) is tried again every 100 ms for up to `grace` before the
  // interface counts as not openable: for the waits in which a device comes back, when udev
  // grants access a moment after the node appeared. Zero (the default) tries once. See
  // PermissionGrace for a scoped use.
  void SetPermissionGrace(ClockDuration grace);
  ClockDuration permissionGrace() const;
  // Paths of matching interfaces that the last FindKeypad could not open for lack of
  // permission (errno EACCES or EPERM), in enumeration order. Without keepOpen such an
  // interface still counts (its identifiers come from the enumeration); with keepOpen it is
  // passed over.
  const std::vector<std::string>& permissionDeniedPaths() const;
  // Paths of matching interfaces that the last FindKeypad found locked by another connection
  // (another instance of the loader, or a script). Without keepOpen such an interface counts
  // as found and nothing is opened on it; with keepOpen it is passed over.
  const std::vector<std::string>& busyPaths() const;

  // Feature-report channel (needs the handle kept by FindKeypad with keepOpen).
  bool SendFeatureByte(std::uint8_t data);
  bool ReadFeature9(std::array<std::uint8_t, 9>& out);
  bool ReadFeature6(std::array<std::uint8_t, 6>& out);

  // Report stream. OpenStream takes the interface's exclusive lock and fails, as a failed open
  // does, when another connection holds it; the lock is released by CloseStream.
  bool OpenStream(ReportMode mode);
  void CloseStream();
  // Both fail without a stream, and also when the bytes do not fit the outgoing queue (the
  // send is then dropped whole).
  bool SendText(const char* text);
  bool SendBytes(const std::uint8_t* bytes, std::size_t count);
  int BytesAvailable();
  std::uint8_t ReadByte();
  // True between a successful OpenStream and the start of the next CloseStream.
  bool streamOpen() const;
  // After CloseStream: true when a report of that stream could not be written (on Linux a write
  // returns once the report went out, so a failure means the device did not get it). Cleared by
  // the next OpenStream.
  bool streamWriteFailed() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Sets a transport's permission grace for its lifetime and puts back the one before.
class PermissionGrace {
 public:
  PermissionGrace(HidTransport& transport, ClockDuration grace)
      : transport_(transport), before_(transport.permissionGrace()) {
    transport_.SetPermissionGrace(grace);
  }
  ~PermissionGrace() { transport_.SetPermissionGrace(before_); }
  PermissionGrace(const PermissionGrace&) = delete;
  PermissionGrace& operator=(const PermissionGrace&) = delete;

  // How long a device that comes back may refuse opens before udev has granted access.
  static constexpr Milliseconds kComeBack{1000};
  static constexpr Milliseconds kNone{0};

 private:
  HidTransport& transport_;
  const ClockDuration before_;
};

}  // namespace tdxx
