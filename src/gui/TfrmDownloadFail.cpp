#include "gui/TfrmDownloadFail.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/DownloadFailAdvice.h"
#include "gui/QtApplication.h"
#include "gui/QtGuideWindow.h"
#include "gui/QtNarrowText.h"
#include "gui/QtRearSwitchPictures.h"

namespace tdxx {

namespace {

constexpr int kLeft = 16;
constexpr int kTextWidth = 404;
constexpr int kPictureLeft = 24;
constexpr int kChoiceLeft = 130;
constexpr int kChoiceWidth = 282;
constexpr int kChoiceHeight = 34;

}  // namespace

TfrmDownloadFail::TfrmDownloadFail(QWidget* mainWindow) : QtGuideDialog(mainWindow) {
  SetUpGuideWindow(*this, QStringLiteral("frmDownloadFail"),
                   QStringLiteral("Download Failed! -- Problems Downloading?"), QSize(436, 344));
}

void TfrmDownloadFail::BuildContents() {
  label2_ = AddGuideLabel(*this, "Label2", "If standard downloading fails...", GuideText::LargeBold,
                          QRect(kLeft, 14, kTextWidth, 22));
  label0_ = AddGuideLabel(*this, "Label0",
                          "It is recommended to use the rear panel switch when downloading.  "
                          "Examine the rear of your keypad and select the image that matches "
                          "your keypad.  Click the corresponding button for that image.",
                          GuideText::Large, QRect(kLeft, 44, kTextWidth, 84));

  image1_ = AddGuidePicture(*this, "Image1",
                            DrawRearSwitchPicture(RearSwitchKind::Prg, RearSwitchPosition::Other),
                            QPoint(kPictureLeft, 144));
  btnUsePRG_TMode_ = AddGuideButton(*this, "btnUsePRG_TMode", "My keypad has this PRG switch",
                                    QRect(kChoiceLeft, 142, kChoiceWidth, kChoiceHeight));
  image2_ = AddGuidePicture(
      *this, "Image2", DrawRearSwitchPicture(RearSwitchKind::FlashDrive, RearSwitchPosition::Other),
      QPoint(kPictureLeft, 196));
  btnUseFlashDrive_ =
      AddGuideButton(*this, "btnUseFlashDrive", "My keypad has this Flash Drive switch",
                     QRect(kChoiceLeft, 194, kChoiceWidth, kChoiceHeight));

  label1_ = AddGuideLabel(*this, "Label1",
                          "Do not change the position of the switch until directed to do so  by "
                          "this downloader application.",
                          GuideText::Large, QRect(kLeft, 246, kTextWidth, 46));

  btnCancel_ = AddGuideButton(*this, "btnCancel", "Cancel", QRect(176, 304, 84, 28));
  btnCancel_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

  // Cancel first, then the two choices.
  setTabOrder(btnCancel_, btnUsePRG_TMode_);
  setTabOrder(btnUsePRG_TMode_, btnUseFlashDrive_);

  connect(btnUsePRG_TMode_, &QPushButton::clicked, this,
          [this] { Forward(&DownloadFailAdvice::btnUsePRG_TModeClick, Accepted); });
  connect(btnUseFlashDrive_, &QPushButton::clicked, this,
          [this] { Forward(&DownloadFailAdvice::btnUseFlashDriveClick, Accepted); });
  connect(btnCancel_, &QPushButton::clicked, this,
          [this] { Forward(&DownloadFailAdvice::btnCancelClick, Rejected); });
}

void TfrmDownloadFail::Attach(DownloadFailAdvice& advice) {
  advice_ = &advice;
}

void TfrmDownloadFail::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (DownloadFailAdvice* advice = advice_)
    advice->FormShow();
  btnCancel_->setFocus(Qt::OtherFocusReason);
}

void TfrmDownloadFail::Forward(void (DownloadFailAdvice::*handler)(), DialogCode result) {
  DownloadFailAdvice* advice = advice_;
  if (advice == nullptr)
    return;
  // The message box of a choice runs the event loop; a second click meanwhile is dropped.
  RunHandler([advice, handler] { (advice->*handler)(); },
             [advice] { return advice->closeRequested(); }, result);
}

}  // namespace tdxx
