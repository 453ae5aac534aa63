#include "gui/TfrmDownloadFail.h"

#include "gui/QtGuideWindow.h"

namespace tdxx {

TfrmDownloadFail::TfrmDownloadFail(QWidget* mainWindow) : QDialog(mainWindow, kGuideWindowFlags) {
  SetUpGuideWindow(*this, QStringLiteral("frmDownloadFail"),
                   QStringLiteral("Download Failed! -- Problems Downloading?"), QSize(436, 344));
}

}  // namespace tdxx
