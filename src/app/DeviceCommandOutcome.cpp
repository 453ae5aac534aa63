#include "app/DeviceCommandOutcome.h"

namespace tdxx {

void ShowWarning(MainWindowPort& port, std::string_view text, std::string_view title) {
  port.ShowMessage(text, title, MessageIcon::Warning, MessageButtons::Ok);
}

void ShowOutcomeAndForgetDevice(MainWindowPort& port, MainWindowState& state, bool failed,
                                std::string_view successText, std::string_view failureText,
                                std::string_view title) {
  ShowWarning(port, failed ? failureText : successText, title);
  port.SetKeypadText("");
  state.deviceKind = 0;
}

}  // namespace tdxx
