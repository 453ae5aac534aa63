#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hid/DeviceLink.h"
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
  // The one open device: kept by FindKeypad with keepOpen, or opened by OpenStream.
  std::unique_ptr<DeviceLink> deviceHandle;
  std::string devicePath;
  std::vector<std::string> permissionDeniedPaths;
  // The pump threads of an open stream.
  std::unique_ptr<TFileReadThread> reader;
  std::unique_ptr<TFileWriteThread> writer;
  // CloseStream has asked the pumps to stop and waits for them.
  bool streamClosing = false;

  // Stops and joins the pump threads, if any (no pause).
  void JoinPumps();
  // Closes the open device, if any; the pumps must be gone.
  void CloseDevice();
};

}  // namespace tdxx
