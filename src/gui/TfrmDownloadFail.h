#pragma once

#include <QDialog>

namespace tdxx {

// The advice shown after a failed download, which can switch the download method.
// One instance lives for the whole run; the main window shows it modally.
class TfrmDownloadFail final : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmDownloadFail(QWidget* mainWindow);
};

}  // namespace tdxx
