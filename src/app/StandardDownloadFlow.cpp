#include "app/StandardDownloadFlow.h"

#include <string>

#include "protocol/Detection.h"
#include "protocol/StandardDownload.h"

namespace tdxx {
namespace {

// Kinds that hold only 24 keys whatever the file says: the newer 917 and the TD-A, also in its
// KBMouse personality.
bool HoldsOnly24Keys(DeviceKind kind) {
  return kind == 2 || kind == 5 || kind == 10;
}
constexpr int kSmallKeypadKeys = 24;

constexpr Milliseconds kBeforeAdvice{2000};
constexpr Milliseconds kShowSuccess{1000};

}  // namespace

int RunStandardDownload(Application& app, MainWindowPort& port) {
  MainWindowState& state = app.state;
  int keys = state.keyCount;
  ProtocolContext ctx = app.Protocol(port);
  DetectKeypad(ctx, true);
  port.RepaintNow();

  if (state.deviceKind == 0) {
    app.transport.CloseKeypad();
    port.LogProgress("\r\nDownload FAILED! Keypad not detected. Wrong mode or not attached.");
    port.ShowMessage("Download failed! Keypad not attached or not in normal operating mode.",
                     "Download Note", MessageIcon::Warning, MessageButtons::Ok);
    return 1;
  }
  if (HoldsOnly24Keys(state.deviceKind) && state.keyCount > kSmallKeypadKeys) {
    keys = kSmallKeypadKeys;
    port.LogProgress("\r\nIMPORTANT: Downloading only first 24 keys of file!");
  }
  port.LogProgress("\r\nDownloading " + std::to_string(keys) + " keys.");
  port.SetProgressMaximum(keys + 1);
  port.SetProgressPosition(0);
  port.RepaintNow();

  bool failed = false;
  {
    WaitCursorGuard waitCursor(port);
    failed = DownloadKeysStandard(ctx, app.keyTable, app.globalBlock, state.deviceKind, keys);
    app.transport.CloseKeypad();
  }

  if (failed) {
    port.LogProgress("\r\nDownload FAILED.\r\n");
    port.RepaintNow();
    port.Pause(kBeforeAdvice);
    port.ShowModalWindow(ModalWindow::DownloadFail);
    port.SetProgressPosition(0);
    return 1;
  }
  port.SetProgressMaximum(10);
  port.SetProgressPosition(10);
  port.RepaintNow();
  state.taskDone = true;
  port.LogProgress("\r\nSUCCESS! Download Complete.\r\n");
  port.Pause(kShowSuccess);
  port.SetProgressPosition(0);
  return 0;
}

}  // namespace tdxx
