#pragma once

#include <QDialog>

#include "gui/QtGuideDialog.h"

class QLabel;
class QPushButton;

namespace tdxx {

class DownloadFailAdvice;

// The advice shown after a failed download: pictures of the two kinds of rear switch, each with
// a button that switches the download method to fit it. One instance lives for the whole run;
// the main window shows it modally. The buttons go to DownloadFailAdvice, which decides; the
// window closes when the advice says so.
class TfrmDownloadFail final : public QtGuideDialog {
  Q_OBJECT
 public:
  explicit TfrmDownloadFail(QWidget* mainWindow);

  // Wires the advice, once, after the main window's commands exist. Clicks before are ignored.
  void Attach(DownloadFailAdvice& advice);

 protected:
  void BuildContents() override;
  void showEvent(QShowEvent* event) override;

 private:
  // Runs a handler of the advice (one at a time), then closes with `result` if it asks to.
  void Forward(void (DownloadFailAdvice::*handler)(), DialogCode result);

  DownloadFailAdvice* advice_ = nullptr;

  QLabel* label2_ = nullptr;
  QLabel* label0_ = nullptr;
  QLabel* image1_ = nullptr;
  QPushButton* btnUsePRG_TMode_ = nullptr;
  QLabel* image2_ = nullptr;
  QPushButton* btnUseFlashDrive_ = nullptr;
  QLabel* label1_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};

}  // namespace tdxx
