#include "gui/QtGuideWindow.h"

#include <QFont>
#include <QPalette>

namespace tdxx {

void SetUpGuideWindow(QDialog& window, const QString& objectName, const QString& caption,
                      QSize clientSize) {
  window.setObjectName(objectName);
  window.setWindowTitle(caption);
  window.setFixedSize(clientSize);
  QPalette background = window.palette();
  background.setColor(QPalette::Window, Qt::white);
  window.setPalette(background);
  window.setAutoFillBackground(true);
  QFont font(QStringLiteral("Tahoma"), 8);
  font.setStyleHint(QFont::SansSerif);
  window.setFont(font);
}

}  // namespace tdxx
