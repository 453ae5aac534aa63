#pragma once

#include <QDialog>

#include "gui/QtGuideDialog.h"

class QLabel;
class QPushButton;

namespace tdxx {

class TModeGuideController;

// The PRG/TMode method's guide window: putting the keypad into PRG/TMode, finding it, and handing
// the download back to the main window. One instance lives for the whole run; the main window
// shows it modally. Its buttons go to TModeGuideController, which decides; the window shows the
// controller's state and closes when the controller says so.
class TfrmTMode final : public QtGuideDialog {
  Q_OBJECT
 public:
  explicit TfrmTMode(QWidget* mainWindow);

  // Wires the controller, once, after the main window exists. Clicks before are ignored.
  void Attach(TModeGuideController& controller);

 protected:
  void BuildContents() override;
  // Each showing starts afresh (FormShow).
  void showEvent(QShowEvent* event) override;

 private:
  // Runs a handler of the controller (one at a time), shows its state and closes if it asks to.
  void Forward(void (TModeGuideController::*handler)());
  void ShowControllerState() override;

  TModeGuideController* controller_ = nullptr;

  QLabel* label0_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label5_ = nullptr;
  QLabel* image1_ = nullptr;
  QLabel* image2_ = nullptr;
  QPushButton* btnConnectTMode_ = nullptr;
  QPushButton* btnDownload_ = nullptr;
  QLabel* lblNotFound_ = nullptr;
  QPushButton* btnDone_ = nullptr;
};

}  // namespace tdxx
