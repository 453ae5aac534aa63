#include "gui/TfrmTMode.h"

#include <QLabel>
#include <QPushButton>

#include "app/TModeGuideController.h"
#include "gui/QtApplication.h"
#include "gui/QtGuideWindow.h"
#include "gui/QtNarrowText.h"
#include "gui/QtRearSwitchPictures.h"

namespace tdxx {

using namespace step_window;

TfrmTMode::TfrmTMode(QWidget* mainWindow) : QtGuideDialog(mainWindow) {
  SetUpGuideWindow(*this, QStringLiteral("frmTMode"),
                   QStringLiteral("Download via PRG/TMode Method"), QSize(531, 335));
}

void TfrmTMode::BuildContents() {
  label0_ = AddGuideLabel(*this, "Label0",
                          "How to download to your TDxx/WKxxx using the PRG/TMode method:",
                          GuideText::LargeBold, QRect(kPictureLeft, 12, 507, 22));
  image1_ = AddGuidePicture(*this, "Image1",
                            DrawRearSwitchPicture(RearSwitchKind::Prg, RearSwitchPosition::Other),
                            QPoint(kPictureLeft, 44));
  label1_ = AddGuideLabel(*this, "Label1",
                          "1. On the back of your keypad, move the switch to the \"PRG\" position.",
                          GuideText::Normal, QRect(kTextLeft, 46, kTextWidth, 30));
  label2_ = AddGuideLabel(*this, "Label2",
                          "2. The LED on the keypad should (eventually) turn solid purple/pink.",
                          GuideText::Normal, QRect(kTextLeft, 84, kTextWidth, 30));
  label3_ = AddGuideLabel(*this, "Label3",
                          "3. Use the \"Connect via PRG\" button here or the \"Connect\" button on "
                          "the main page to locate your keypad in PRG/TMode over USB.",
                          GuideText::Normal, QRect(kTextLeft, 120, kNarrowTextWidth, 58));
  label4_ = AddGuideLabel(*this, "Label4",
                          "4. Click the \"Download\" button here or on the main page.  The file "
                          "will be sent to the keypad. (Make sure you have loaded a CKD file "
                          "first)",
                          GuideText::Normal, QRect(kTextLeft, 184, kNarrowTextWidth, 58));
  image2_ = AddGuidePicture(
      *this, "Image2", DrawRearSwitchPicture(RearSwitchKind::Prg, RearSwitchPosition::Keyboard),
      QPoint(kPictureLeft, 248));
  label5_ = AddGuideLabel(*this, "Label5",
                          "5. After the download is complete, move the switch back to the normal "
                          "keyboard position.  Your keypad will reboot with the new settings.",
                          GuideText::Normal, QRect(kTextLeft, 250, kTextWidth, 40));

  btnConnectTMode_ = AddGuideButton(*this, "btnConnectTMode", "Connect via PRG",
                                    QRect(kButtonLeft, 124, kButtonWidth, 28));
  btnDownload_ = AddGuideButton(*this, "btnDownload", "Download File",
                                QRect(kButtonLeft, 160, kButtonWidth, 28));
  btnDownload_->setEnabled(false);
  lblNotFound_ = AddGuideLabel(*this, "lblNotFound", "Not found!", GuideText::Normal,
                               QRect(kButtonLeft, 196, kButtonWidth, 20));
  lblNotFound_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette alarm = lblNotFound_->palette();
  alarm.setColor(QPalette::WindowText, QColor(0xd8, 0x20, 0x1a));
  lblNotFound_->setPalette(alarm);
  lblNotFound_->hide();
  btnDone_ = AddGuideButton(*this, "btnDone", "Done", QRect((531 - 84) / 2, 298, 84, 28));

  // Done first, then Connect, then Download File.
  setTabOrder(btnDone_, btnConnectTMode_);
  setTabOrder(btnConnectTMode_, btnDownload_);

  connect(btnConnectTMode_, &QPushButton::clicked, this,
          [this] { Forward(&TModeGuideController::btnConnectTModeClick); });
  connect(btnDownload_, &QPushButton::clicked, this,
          [this] { Forward(&TModeGuideController::btnDownloadClick); });
  connect(btnDone_, &QPushButton::clicked, this,
          [this] { Forward(&TModeGuideController::btnDoneClick); });
}

void TfrmTMode::Attach(TModeGuideController& controller) {
  controller_ = &controller;
}

void TfrmTMode::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Forward(&TModeGuideController::FormShow);
  btnDone_->setFocus(Qt::OtherFocusReason);
}

void TfrmTMode::Forward(void (TModeGuideController::*handler)()) {
  TModeGuideController* controller = controller_;
  if (controller == nullptr)
    return;
  // Detection pauses, and a pause runs the event loop: a click meanwhile must not start a
  // second handler inside the first (pauses hold input back; the gate is the backstop).
  RunHandler([controller, handler] { (controller->*handler)(); },
             [controller] { return controller->closeRequested(); });
}

void TfrmTMode::ShowControllerState() {
  const TModeGuideController& controller = *controller_;
  btnConnectTMode_->setText(DisplayText(controller.connectCaption()));
  btnDownload_->setEnabled(controller.downloadEnabled());
  lblNotFound_->setVisible(controller.notFoundVisible());
}

}  // namespace tdxx
