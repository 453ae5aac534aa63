#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QKeyEvent;
class QWidget;

namespace tdxx {

// One key pressed or released on the computer's keyboard while recording, by its Linux input
// (evdev) code.
struct RecordedKeyEvent {
  int evdevCode = 0;
  bool press = true;
};

// The Linux input code of a key event: on Linux the window system's native scan code is the
// X keycode (xcb) or the XKB keycode (Wayland), both the evdev code + 8. -1 when the event
// carries none (a key event made by a program without a scan code).
int EvdevCodeOf(const QKeyEvent& event);

// Takes every key pressed and released on the computer's keyboard while it records: the target
// widget grabs the keyboard and gets the focus, and the recorder eats every key event that
// reaches it, shortcuts and focus keys (Tab, Esc, Enter, Ctrl+Z) included, so that each can be
// recorded. Auto-repeats of a held key are left out (the controller also drops the release of
// a key that was down before the recording began). The recording ends only by Stop, which a
// button calls.
class QtKeyRecorder final : public QObject {
  Q_OBJECT
 public:
  explicit QtKeyRecorder(QObject* parent = nullptr);
  ~QtKeyRecorder() override;

  void Start(QWidget& target);
  // Ends the recording, gives the keyboard back and returns what was recorded.
  std::vector<RecordedKeyEvent> Stop();
  bool recording() const { return target_ != nullptr; }
  const std::vector<RecordedKeyEvent>& events() const { return events_; }
  // Key events that carried no scan code, so could not be recorded.
  int unknownKeys() const { return unknownKeys_; }

 signals:
  // A key event was taken (for showing the recording as it grows).
  void recorded();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QWidget> target_;
  std::vector<RecordedKeyEvent> events_;
  int unknownKeys_ = 0;
};

}  // namespace tdxx
