#include "app/DeviceCommandOutcome.h"

#include <string>

namespace tdxx {

void ShowWarning(MainWindowPort& port, std::string_view text, std::string_view title) {
  port.ShowMessage(text, title, MessageIcon::Warning, MessageButtons::Ok);
}

void ShowConflict(MainWindowPort& port, const HidTransport& transport, std::string_view severalText,
                  std::string_view title) {
  const std::string& bindError = transport.bindError();
  if (bindError.empty()) {
    ShowWarning(port, severalText, title);
    return;
  }
  // Keep the command's own opening ("Erase aborted! ") and say what is wrong instead.
  const std::size_t reason = severalText.find("Please connect");
  const std::string text = std::string(severalText.substr(0, reason)) +
                           "USB HID service unavailable: " + bindError +
                           "\r\nRun \"tdxxload-cli doctor\" to see what is missing.";
  ShowWarning(port, text, title);
}

void ShowOutcomeAndForgetDevice(MainWindowPort& port, MainWindowState& state, bool failed,
                                std::string_view successText, std::string_view failureText,
                                std::string_view title) {
  ShowWarning(port, failed ? failureText : successText, title);
  port.SetKeypadText("");
  state.deviceKind = 0;
}

}  // namespace tdxx
