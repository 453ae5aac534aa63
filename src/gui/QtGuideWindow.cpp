#include "gui/QtGuideWindow.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

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

QLabel* AddGuideLabel(QWidget& window, const char* name, const char* text, GuideText style,
                      const QRect& geometry) {
  auto* label = new QLabel(QString::fromLatin1(text), &window);
  label->setObjectName(QString::fromLatin1(name));
  // The texts are shown as written: no rich text, no mnemonic underlines.
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(geometry);
  if (style != GuideText::Normal) {
    QFont font = window.font();
    font.setPointSize(10);
    font.setBold(style == GuideText::LargeBold);
    label->setFont(font);
  }
  return label;
}

QLabel* AddGuidePicture(QWidget& window, const char* name, const QPixmap& picture, QPoint topLeft) {
  auto* label = new QLabel(&window);
  label->setObjectName(QString::fromLatin1(name));
  label->setPixmap(picture);
  label->setGeometry(QRect(topLeft, picture.size() / picture.devicePixelRatio()));
  return label;
}

QPushButton* AddGuideButton(QWidget& window, const char* name, const char* text,
                            const QRect& geometry) {
  auto* button = new QPushButton(QString::fromLatin1(text), &window);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  button->setGeometry(geometry);
  return button;
}

}  // namespace tdxx
