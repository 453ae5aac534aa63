#pragma once

class QWidget;

namespace tdxx {

// Marks the control of `window` that has the keyboard focus with a frame around it, whatever
// the style draws itself (some styles mark no focus on tool buttons or read-only text boxes).
// The frame belongs to the window and follows the focus while it stays in the window.
void ShowFocusFrame(QWidget& window);

}  // namespace tdxx
