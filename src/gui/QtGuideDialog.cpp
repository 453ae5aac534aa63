#include "gui/QtGuideDialog.h"

#include "gui/QtApplication.h"
#include "gui/QtFocusFrame.h"
#include "gui/QtGuideWindow.h"
#include "gui/QtNarrowText.h"

namespace tdxx {

QtGuideDialog::QtGuideDialog(QWidget* mainWindow)
    : QDialog(mainWindow, kGuideWindowFlags),
      gate_([this](std::string_view text) { ShowStandardErrorBox(this, DisplayText(text)); }) {}

void QtGuideDialog::reject() {
  if (gate_.busy())
    return;
  QDialog::reject();
}

void QtGuideDialog::setVisible(bool visible) {
  if (visible)
    EnsureContents();
  QDialog::setVisible(visible);
}

void QtGuideDialog::EnsureContents() {
  if (contentsBuilt_)
    return;
  contentsBuilt_ = true;
  BuildContents();
  ShowFocusFrame(*this);
}

void QtGuideDialog::RunHandler(const std::function<void()>& handler,
                               const std::function<bool()>& closeRequested, DialogCode result) {
  gate_.Run(handler);
  ShowControllerState();
  if (closeRequested())
    done(result);
}

}  // namespace tdxx
