#pragma once

#include "app/AppEnvironment.h"
#include "app/MainWindowState.h"
#include "files/FirmwareImage.h"
#include "files/KeyTable.h"
#include "hid/Clock.h"
#include "hid/HidTransport.h"
#include "protocol/DeviceInfo.h"
#include "protocol/KeypadDriveLocator.h"
#include "protocol/MainWindowPort.h"
#include "protocol/ProtocolContext.h"

namespace tdxx {

// The run's single instances, built once by the program entry and handed on by reference.
class Application {
 public:
  Application(AppEnvironment environment, HidLibraryBinder& binder, Clock& clock,
              KeypadDriveLocator& driveLocator);

  // A protocol context over this application's instances and the given window services.
  ProtocolContext Protocol(MainWindowPort& port);

  AppEnvironment environment;
  Clock& clock;
  KeypadDriveLocator& driveLocator;
  MainWindowState state;
  KeyTable keyTable{};
  GlobalParameterBlock globalBlock{};
  FirmwareImage firmware{};
  HidTransport transport;
  DeviceInfo deviceInfo{};
};

}  // namespace tdxx
