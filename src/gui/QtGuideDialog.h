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
class QtGuideDialog : public QDialog {
 public:
  explicit QtGuideDialog(QWidget* mainWindow);

  void reject() override;

 protected:
  // Runs `handler` through the window's gate, shows the controller's state, and closes with
  // `result` when `closeRequested` holds afterwards.
  void RunHandler(const std::function<void()>& handler, const std::function<bool()>& closeRequested,
                  DialogCode result = Accepted);
  // Shows what the controller says the window shows (captions, enabled buttons, labels).
  virtual void ShowControllerState() {}

 private:
  QtCommandGate gate_;
};

}  // namespace tdxx
