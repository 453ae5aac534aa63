#include "protocol/KeypadPanel.h"

#include <string>

namespace tdxx {

void SetKeypadPanel(MainWindowPort& port, std::string_view text) {
  port.SetKeypadText(text);
  port.RepaintNow();
}

void AppendToKeypadPanel(MainWindowPort& port, std::string_view text) {
  std::string combined = port.KeypadText();
  combined.append(text);
  SetKeypadPanel(port, combined);
}

}  // namespace tdxx
