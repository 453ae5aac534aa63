#include "gui/TfrmFlashDrive.h"

#include <QLabel>
#include <QPushButton>

#include "app/FlashDriveController.h"
#include "gui/QtApplication.h"
#include "gui/QtGuideWindow.h"
#include "gui/QtNarrowText.h"
#include "gui/QtRearSwitchPictures.h"

namespace tdxx {

using namespace step_window;

TfrmFlashDrive::TfrmFlashDrive(QWidget* mainWindow) : QtGuideDialog(mainWindow) {
  SetUpGuideWindow(*this, QStringLiteral("frmFlashDrive"),
                   QStringLiteral("Download via Flash Drive Method"), QSize(531, 335));
}

void TfrmFlashDrive::BuildContents() {
  label0_ = AddGuideLabel(*this, "Label0",
                          "How to download to your TDxx/WKxx using the Flash Drive method:",
                          GuideText::LargeBold, QRect(kPictureLeft, 12, 507, 22));
  // The rear switch beside step 1 (move it to the flash drive) and beside step 4 (move it back).
  image1_ = AddGuidePicture(
      *this, "Image1", DrawRearSwitchPicture(RearSwitchKind::FlashDrive, RearSwitchPosition::Other),
      QPoint(kPictureLeft, 44));
  label1_ = AddGuideLabel(
      *this, "Label1",
      "1. On the back of your keypad, move the switch to the \"flash drive\" position.",
      GuideText::Normal, QRect(kTextLeft, 46, kTextWidth, 30));
  label2_ = AddGuideLabel(*this, "Label2",
                          "2. The LED on the keypad should turn red and you should see a removable "
                          "drive on your computer called TASTERDECK.",
                          GuideText::Normal, QRect(kTextLeft, 82, kTextWidth, 30));
  label3_ = AddGuideLabel(*this, "Label3",
                          "3. Find the file you are working with, but with the extension .BIN.  "
                          "Copy that file to the TASTERDECK drive. You can click the \"Show "
                          "Folders\" button to open your folders.",
                          GuideText::Normal, QRect(kTextLeft, 118, kNarrowTextWidth, 66));
  image2_ = AddGuidePicture(
      *this, "Image2",
      DrawRearSwitchPicture(RearSwitchKind::FlashDrive, RearSwitchPosition::Keyboard),
      QPoint(kPictureLeft, 192));
  // The stray apostrophe before "position" is kept: it is the text this window has always shown.
  label4_ = AddGuideLabel(*this, "Label4",
                          "4. After the BIN file is copied, close the folders.  Then, on the back "
                          "of your keypad, move the switch to the \"keyboard\" 'position.",
                          GuideText::Normal, QRect(kTextLeft, 194, kTextWidth, 40));
  label5_ = AddGuideLabel(*this, "Label5",
                          "5. The keypad LED will flicker for a while and then your keypad will "
                          "reboot with the new settings.",
                          GuideText::Normal, QRect(kTextLeft, 242, kTextWidth, 40));

  btnShowFolders_ = AddGuideButton(*this, "btnShowFolders", "Show Folders",
                                   QRect(kButtonLeft, 118, kButtonWidth, 28));
  btnCopyBinFile_ = AddGuideButton(*this, "btnCopyBinFile", "Copy Bin for me",
                                   QRect(kButtonLeft, 154, kButtonWidth, 28));
  btnDone_ = AddGuideButton(*this, "btnDone", "Done", QRect((531 - 84) / 2, 298, 84, 28));

  // Show Folders first, then Done, then Copy Bin for me.
  setTabOrder(btnShowFolders_, btnDone_);
  setTabOrder(btnDone_, btnCopyBinFile_);

  connect(btnShowFolders_, &QPushButton::clicked, this,
          [this] { Forward(&FlashDriveController::btnShowFoldersClick); });
  connect(btnCopyBinFile_, &QPushButton::clicked, this,
          [this] { Forward(&FlashDriveController::btnCopyBinFileClick); });
  connect(btnDone_, &QPushButton::clicked, this,
          [this] { Forward(&FlashDriveController::btnDoneClick); });
}

void TfrmFlashDrive::Attach(FlashDriveController& controller) {
  controller_ = &controller;
  // Show Folders reads "Deleting old" while it deletes the earlier copy: shown at once, since
  // the deletion and the pause after it run inside the click.
  controller.SetStateChangedHandler([this] {
    if (!contentsBuilt())
      return;
    ShowControllerState();
    btnShowFolders_->repaint();
  });
}

void TfrmFlashDrive::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Forward(&FlashDriveController::FormShow);
  btnShowFolders_->setFocus(Qt::OtherFocusReason);
}

void TfrmFlashDrive::Forward(void (FlashDriveController::*handler)()) {
  FlashDriveController* controller = controller_;
  if (controller == nullptr)
    return;
  // The pauses and message boxes of a click run the event loop: a second click meanwhile is
  // dropped (pauses hold input back; the gate is the backstop).
  RunHandler([controller, handler] { (controller->*handler)(); },
             [controller] { return controller->closeRequested(); });
}

void TfrmFlashDrive::ShowControllerState() {
  const FlashDriveController& controller = *controller_;
  btnShowFolders_->setText(DisplayText(controller.showFoldersCaption()));
  btnShowFolders_->setEnabled(controller.showFoldersEnabled());
}

}  // namespace tdxx
