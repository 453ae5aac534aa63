#include "app/StandardDownloadFlow.h"

#include <string>

#include "hid/DeviceKindTable.h"
#include "protocol/Detection.h"
#include "protocol/StandardDownload.h"

namespace tdxx {
namespace {

constexpr Milliseconds kBeforeAdvice{2000};
constexpr Milliseconds kShowSuccess{1000};

}  // namespace

int RunStandardDownload(Application& app, MainWindowPort& port) {
  MainWindowState& state = app.state;
  int keys = state.keyCount;
  ProtocolContext ctx = app.Protocol(port);
  DetectKeypad(ctx, true);
  port.RepaintNow();

  if (state.deviceKind == kNoDevice) {
    app.transport.CloseKeypad();
    port.LogProgress("\r\nDownload FAILED! Keypad not detected. Wrong mode or not attached.");
    port.ShowMessage("Download failed! Keypad not attached or not in normal operating mode.",
                     "Download Note", MessageIcon::Warning, MessageButtons::Ok);
    return 1;
  }
  // Some kinds hold fewer keys than a file may have, whatever the file says.
  const int keyLimit = FactsOf(state.deviceKind).standardKeyLimit;
  if (keyLimit > 0 && state.keyCount > keyLimit) {
    keys = keyLimit;
    port.LogProgress("\r\nIMPORTANT: Downloading only first " + std::to_string(keyLimit) +
                     " keys of file!");
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
