#pragma once

#include <string_view>

#include "protocol/MainWindowPort.h"

namespace tdxx {

// Replaces the keypad panel's whole text and repaints, so the user sees each step at once.
void SetKeypadPanel(MainWindowPort& port, std::string_view text);
// Sets the panel to its current text followed by `text`, and repaints.
void AppendToKeypadPanel(MainWindowPort& port, std::string_view text);

}  // namespace tdxx
