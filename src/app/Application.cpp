#include "app/Application.h"

#include <utility>

namespace tdxx {

Application::Application(AppEnvironment env, HidLibraryBinder& binder, Clock& appClock,
                         KeypadDriveLocator& locator)
    : environment(std::move(env)),
      clock(appClock),
      driveLocator(locator),
      transport(binder, appClock) {}

ProtocolContext Application::Protocol(MainWindowPort& port) {
  return ProtocolContext{port, transport, deviceInfo, driveLocator, state.deviceKind};
}

}  // namespace tdxx
