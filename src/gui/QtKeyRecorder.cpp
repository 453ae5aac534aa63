#include "gui/QtKeyRecorder.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace tdxx {

namespace {

// X and XKB keycodes are the Linux input codes moved up by 8 (codes below 8 are not keys).
constexpr quint32 kNativeScanCodeOffset = 8;

}  // namespace

int EvdevCodeOf(const QKeyEvent& event) {
  const quint32 native = event.nativeScanCode();
  if (native < kNativeScanCodeOffset)
    return -1;
  return static_cast<int>(native - kNativeScanCodeOffset);
}

QtKeyRecorder::QtKeyRecorder(QObject* parent) : QObject(parent) {}

QtKeyRecorder::~QtKeyRecorder() {
  if (recording())
    Stop();
}

void QtKeyRecorder::Start(QWidget& target) {
  if (recording())
    Stop();
  events_.clear();
  unknownKeys_ = 0;
  target_ = &target;
  target.installEventFilter(this);
  target.setFocus(Qt::OtherFocusReason);
  target.grabKeyboard();
}

std::vector<RecordedKeyEvent> QtKeyRecorder::Stop() {
  if (QWidget* target = target_) {
    target->releaseKeyboard();
    target->removeEventFilter(this);
  }
  target_ = nullptr;
  return events_;
}

bool QtKeyRecorder::eventFilter(QObject* watched, QEvent* event) {
  if (watched != target_)
    return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claimed, so that no shortcut (Ctrl+Z, Alt+letter) fires: the key is recorded instead.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      key->accept();
      if (key->isAutoRepeat())
        return true;
      const int code = EvdevCodeOf(*key);
      if (code < 0) {
        if (event->type() == QEvent::KeyPress)
          ++unknownKeys_;
        return true;
      }
      events_.push_back({code, event->type() == QEvent::KeyPress});
      emit recorded();
      return true;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tdxx
