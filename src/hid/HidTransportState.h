#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hid/FileReadThread.h"
#include "hid/FileWriteThread.h"
#include "hid/HidTransport.h"

namespace tdxx {

// The transport's state (one device connection). Private to the HidTransport*.cpp files.
struct HidTransport::State {
  State(HidLibraryBinder& binderIn, Clock& clockIn) : binder(binderIn), clock(clockIn) {}

  HidLibraryBinder& binder;
  Clock& clock;
  // The bound library; non-null exactly while bound.
  std::unique_ptr<HidApi> api;
  std::string bindError;
  // The handle kept by FindKeypad with keepOpen (feature reports; user-interface thread only).
  hid_device* featureDevice = nullptr;
  // The connections of an open stream: one for each pump thread.
  hid_device* readerDevice = nullptr;
  hid_device* writerDevice = nullptr;
  // The interface's exclusive lock, held with the feature handle or the stream.
  std::unique_ptr<InterfaceLock> deviceLock;
  std::string devicePath;
  // The identifiers of the interface at devicePath, as discovery found it: every open made for a
  // command is checked against them (see NodeIsDevice).
  std::uint16_t deviceVendorId = 0;
  std::uint16_t deviceProductId = 0;
  // See HidTransport::SetPermissionGrace.
  ClockDuration permissionGrace{0};
  // A report of the last stream could not be written.
  bool streamWriteFailed = false;
  std::string deviceFilter;
  std::vector<std::string> permissionDeniedPaths;
  std::vector<std::string> busyPaths;
  // The pump threads of an open stream.
  std::unique_ptr<TFileReadThread> reader;
  std::unique_ptr<TFileWriteThread> writer;
  // CloseStream has asked the pumps to stop and waits for them.
  bool streamClosing = false;

  // A handle is held, for features or for a stream.
  bool DeviceHeld() const { return featureDevice != nullptr || readerDevice != nullptr; }
  // Stops and joins the pump threads, if any (no pause).
  void JoinPumps();
  // Closes every open connection and releases the lock; the pumps must be gone.
  void CloseDevice();
  // hid_open_path with errno kept in `openErrno`. While a permission grace is set, an open
  // refused for lack of permission is tried again every 100 ms until the grace is up.
  hid_device* OpenPath(const std::string& path, int& openErrno);
  // True when the open connection is still the device that discovery found at `path`: the
  // kernel gives the lowest free node to whatever comes next, so the remembered path may now
  // be another device (the keypad back in its normal mode, an unrelated HID device).
  bool NodeIsDevice(hid_device* device, const std::string& path, std::uint16_t vendorId,
                    std::uint16_t productId);
};

// hidapi's wide error texts are plain ASCII in practice; anything else becomes '?'.
std::string HidTransportNarrowText(const wchar_t* text);
// True when a failed hid_open_path (its errno, or the library's error text) was refused for
// lack of permission.
bool OpenDeniedForLackOfPermission(int openErrno, HidApi& api);

}  // namespace tdxx
