#include "gui/TfrmFlashDrive.h"

#include "gui/QtGuideWindow.h"
#include "gui/QtRearSwitchPictures.h"

namespace tdxx {

TfrmFlashDrive::TfrmFlashDrive(QWidget* mainWindow) : QDialog(mainWindow, kGuideWindowFlags) {
  SetUpGuideWindow(*this, QStringLiteral("frmFlashDrive"),
                   QStringLiteral("Download via Flash Drive Method"), QSize(531, 335));
  // The rear switch beside step 1 (move it to the flash drive) and beside step 4 (move it back).
  AddGuidePicture(*this, "Image1",
                  DrawRearSwitchPicture(RearSwitchKind::FlashDrive, RearSwitchPosition::Other),
                  QPoint(12, 44));
  AddGuidePicture(*this, "Image2",
                  DrawRearSwitchPicture(RearSwitchKind::FlashDrive, RearSwitchPosition::Keyboard),
                  QPoint(12, 184));
}

}  // namespace tdxx
