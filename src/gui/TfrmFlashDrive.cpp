#include "gui/TfrmFlashDrive.h"

#include "gui/QtGuideWindow.h"

namespace tdxx {

TfrmFlashDrive::TfrmFlashDrive(QWidget* mainWindow) : QDialog(mainWindow, kGuideWindowFlags) {
  SetUpGuideWindow(*this, QStringLiteral("frmFlashDrive"),
                   QStringLiteral("Download via Flash Drive Method"), QSize(531, 335));
}

}  // namespace tdxx
