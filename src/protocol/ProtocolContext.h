#pragma once

#include "hid/HidTransport.h"
#include "protocol/DeviceInfo.h"
#include "protocol/KeypadDriveLocator.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// What the detection and device flows work on: the main window's services, the transport, the
// device information, the drive finder and the main window's deviceKind. The application object
// owns all of them; a context only refers to them.
struct ProtocolContext {
  MainWindowPort& port;
  HidTransport& transport;
  DeviceInfo& deviceInfo;
  KeypadDriveLocator& driveLocator;
  DeviceKind& deviceKind;
};

}  // namespace tdxx
