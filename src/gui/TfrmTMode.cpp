#include "gui/TfrmTMode.h"

#include "gui/QtGuideWindow.h"

namespace tdxx {

TfrmTMode::TfrmTMode(QWidget* mainWindow) : QDialog(mainWindow, kGuideWindowFlags) {
  SetUpGuideWindow(*this, QStringLiteral("frmTMode"),
                   QStringLiteral("Download via PRG/TMode Method"), QSize(531, 335));
}

}  // namespace tdxx
