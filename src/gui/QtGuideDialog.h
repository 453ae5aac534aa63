#pragma once

#include <QDialog>
#include <functional>

#include "gui/QtCommandGate.h"

namespace tdxx {

// What the three guide windows share besides their look: they sit over a Qt-free controller
// and only forward clicks to it. A guide window is shown from inside a main-window command,
// whose gate is busy the whole time, so it runs its clicks through a gate of its own: a click
// whose handler pauses or shows a box cannot start a second handler inside the first, and an
// error escaping a handler is shown in the standard error box. The close box and Escape wait
// while a click runs.
//
// A guide window's controls (labels, pictures, buttons) are made when it is first shown, not
// with the window: the program makes all four windows at start, and building the guides' texts,
// pictures and icons then would only delay the main window. Title, size and font are set with
// the window.
class QtGuideDialog : public QDialog {
 public:
  explicit QtGuideDialog(QWidget* mainWindow);

  void reject() override;
  // Makes the controls before the first showing.
  void setVisible(bool visible) override;
  // Makes the controls now if they are not made yet (a look at the window before it is shown).
  void EnsureContents();

 protected:
  // Makes the window's controls and wires them; called once.
  virtual void BuildContents() = 0;
  bool contentsBuilt() const { return contentsBuilt_; }

  // Runs `handler` through the window's gate, shows the controller's state, and closes with
  // `result` when `closeRequested` holds afterwards.
  void RunHandler(const std::function<void()>& handler, const std::function<bool()>& closeRequested,
                  DialogCode result = Accepted);
  // Shows what the controller says the window shows (captions, enabled buttons, labels).
  virtual void ShowControllerState() {}

 private:
  QtCommandGate gate_;
  bool contentsBuilt_ = false;
};

}  // namespace tdxx
