#include "methods/TfrmDownloadFail.h"

#include <QFont>
#include <QPalette>

namespace tdxx {

TfrmDownloadFail::TfrmDownloadFail(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmDownloadFail"));
  setWindowTitle(QStringLiteral("Download Failed! -- Problems Downloading?"));
  // A fixed tool window with a white client area; as a child of the main window it is centred
  // on it each time it is shown.
  setFixedSize(436, 344);
  QPalette background = palette();
  background.setColor(QPalette::Window, Qt::white);
  setPalette(background);
  setAutoFillBackground(true);
  QFont font(QStringLiteral("Tahoma"), 8);
  font.setStyleHint(QFont::SansSerif);
  setFont(font);
}

}  // namespace tdxx
