#pragma once

#include <QDialog>

namespace tdxx {

// The flash-drive method's guide window: copying a BIN file onto the keypad's own drive.
// One instance lives for the whole run; the main window shows it modally.
class TfrmFlashDrive final : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmFlashDrive(QWidget* mainWindow);
};

}  // namespace tdxx
