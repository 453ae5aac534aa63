#pragma once

#include <memory>

#include "app/AppEnvironment.h"
#include "app/MainWindowState.h"
#include "files/FirmwareImage.h"
#include "files/KeyDefinitionDiagnostics.h"
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
  // What the reader found beside the images of the loaded CKD file (null when none was read):
  // kept with the images so that each download judges what it sends, not the file as it may
  // since have changed on disk.
  std::unique_ptr<const KeyDefinitionDiagnostics> keyDiagnostics;
  FirmwareImage firmware{};
  HidTransport transport;
  DeviceInfo deviceInfo{};
};

}  // namespace tdxx
