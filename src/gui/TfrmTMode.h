#pragma once

#include <QDialog>

namespace tdxx {

// The PRG/TMode method's guide window: putting the keypad into PRG/TMode and handing the download
// back to the main window. One instance lives for the whole run; the main window shows it modally.
class TfrmTMode final : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmTMode(QWidget* mainWindow);
};

}  // namespace tdxx
