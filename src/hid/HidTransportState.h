#pragma once

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
};

// hidapi's wide error texts are plain ASCII in practice; anything else becomes '?'.
std::string HidTransportNarrowText(const wchar_t* text);
// True when a failed hid_open_path (its errno, or the library's error text) was refused for
// lack of permission.
bool OpenDeniedForLackOfPermission(int openErrno, HidApi& api);

}  // namespace tdxx
