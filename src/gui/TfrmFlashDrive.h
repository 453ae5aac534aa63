#pragma once

#include <QDialog>

#include "gui/QtGuideDialog.h"

class QLabel;
class QPushButton;

namespace tdxx {

class FlashDriveController;

// The flash-drive method's guide window: copying a BIN file onto the keypad's own drive.
// One instance lives for the whole run; the main window shows it modally. Its buttons go to
// FlashDriveController, which decides; the window shows the controller's state (also while a
// click runs) and closes when the controller says so.
class TfrmFlashDrive final : public QtGuideDialog {
  Q_OBJECT
 public:
  explicit TfrmFlashDrive(QWidget* mainWindow);

  // Wires the controller, once, after the main window exists. Clicks before are ignored.
  void Attach(FlashDriveController& controller);

 protected:
  void BuildContents() override;
  // Each showing starts afresh (FormShow).
  void showEvent(QShowEvent* event) override;

 private:
  // Runs a handler of the controller (one at a time), shows its state and closes if it asks to.
  void Forward(void (FlashDriveController::*handler)());
  void ShowControllerState() override;

  FlashDriveController* controller_ = nullptr;

  QLabel* label0_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label5_ = nullptr;
  QLabel* image1_ = nullptr;
  QLabel* image2_ = nullptr;
  QPushButton* btnShowFolders_ = nullptr;
  QPushButton* btnCopyBinFile_ = nullptr;
  QPushButton* btnDone_ = nullptr;
};

}  // namespace tdxx
