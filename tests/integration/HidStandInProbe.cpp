// Runs discovery (and optionally a version query) through the real run-time binding, so that a
// test can point LD_LIBRARY_PATH at a stand-in library. Prints key=value lines.
#include <cstring>
#include <iostream>
#include <string>

#include "hid/Clock.h"
#include "hid/DlopenHidBinder.h"
#include "hid/HidTransport.h"

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "detect";
  tdxx::SystemClock clock;
  tdxx::DlopenHidBinder binder;
  tdxx::HidTransport transport(binder, clock);
  const tdxx::DeviceKind kind = transport.FindKeypad(false);
  std::cout << "kind=" << kind << "\n"
            << "path=" << transport.devicePath() << "\n"
            << "bound=" << transport.hidBound() << "\n"
            << "bindError=" << transport.bindError() << "\n"
            << "denied=" << transport.permissionDeniedPaths().size() << "\n";
  if (command == "version") {
    if (transport.OpenStream(tdxx::ReportMode::U)) {
      std::cout << "stream=failed\n";
      return 1;
    }
    transport.SendText("\x40\x06");
    for (int i = 0; i < 150 && transport.BytesAvailable() < 16; ++i)
      clock.Pause(tdxx::Milliseconds(20));
    std::string version;
    while (transport.BytesAvailable() > 0)
      version += static_cast<char>(transport.ReadByte());
    transport.CloseStream();
    std::cout << "version=" << version << "\n";
  }
  return 0;
}
