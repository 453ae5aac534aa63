#include "gui/QtFocusFrame.h"

#include <QApplication>
#include <QFocusFrame>
#include <QPointer>
#include <QWidget>

namespace tdxx {

void ShowFocusFrame(QWidget& window) {
  auto* frame = new QFocusFrame(&window);
  QPointer<QWidget> owner(&window);
  QObject::connect(
      qApp, &QApplication::focusChanged, frame, [frame, owner](QWidget*, QWidget* now) {
        const bool inWindow = owner && now != nullptr && now != owner && owner->isAncestorOf(now);
        frame->setWidget(inWindow ? now : nullptr);
      });
}

}  // namespace tdxx
