#include "app/TModeDownloadFlow.h"

#include <string>

#include "protocol/TModeDownload.h"

namespace tdxx {
namespace {

constexpr Milliseconds kAfterSuccess{100};
constexpr const char* kRestoreSwitch =
    "To return to normal operation, restore the REAR PANEL SWITCH.";

}  // namespace

int RunTModeDownload(Application& app, MainWindowPort& port) {
  MainWindowState& state = app.state;
  const int keys = state.keyCount;
  port.LogProgress("\r\nDownloading " + std::to_string(keys) + " keys via PRG/TMode.");
  port.SetProgressMaximum(keys + 1);
  port.SetProgressPosition(0);
  port.RepaintNow();

  bool failed = false;
  {
    WaitCursorGuard waitCursor(port);
    ProtocolContext ctx = app.Protocol(port);
    failed = DownloadKeysTMode(ctx, app.keyTable, app.globalBlock, keys);
  }

  if (failed) {
    port.LogProgress("\r\nDownload FAILED.\r\n");
    port.SetProgressPosition(0);
    port.RepaintNow();
    return 1;
  }
  port.SetProgressMaximum(10);
  port.SetProgressPosition(10);
  port.RepaintNow();
  state.taskDone = true;
  port.LogProgress("\r\nSUCCESS! Download Complete.");
  port.LogProgress(std::string("\r\n") + kRestoreSwitch + "\r\n");
  port.RepaintNow();
  port.ShowMessage(kRestoreSwitch, "SUCCESS! Download Complete.", MessageIcon::None,
                   MessageButtons::Ok);
  port.Pause(kAfterSuccess);
  port.SetProgressPosition(0);
  port.SetKeypadText("");
  port.RepaintNow();
  return 0;
}

}  // namespace tdxx
