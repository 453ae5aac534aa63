// The Key Map window's own widgets: the key cap grid, the sequence chips, the keyboard recorder,
// and the window program's --keys option.

#include <gtest/gtest.h>

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <vector>

#include "GuiHarness.h"
#include "gui/QtCommandLine.h"
#include "gui/QtKeyCapGrid.h"
#include "gui/QtKeyRecorder.h"
#include "gui/QtSequenceChips.h"

// Not part of the toolkit's public interface: the queue the window system's input goes into.
#include <qpa/qwindowsysteminterface.h>

namespace tdxx::test {
namespace {

std::vector<KeyCapFace> Caps(int count) {
  std::vector<KeyCapFace> caps;
  for (int i = 0; i < count; ++i) {
    KeyCapFace cap;
    cap.number = i;
    cap.level1 = QStringLiteral("F%1").arg(i);
    cap.problem = i % 5 == 0;
    caps.push_back(cap);
  }
  return caps;
}

TEST(KeyCapGrid, FillsWholeRowsForTheKeypadSizes) {
  EXPECT_EQ(KeyCapColumns(24), 12);
  EXPECT_EQ(KeyCapColumns(48), 12);
  EXPECT_EQ(KeyCapColumns(66), 11);
  EXPECT_EQ(KeyCapColumns(35), 7);
  // Nothing divides evenly: twelve columns and a short last row.
  EXPECT_EQ(KeyCapColumns(13), 12);
  EXPECT_EQ(KeyCapColumns(0), 12);
}

TEST(KeyCapGrid, EveryCapIsFoundWhereItIsPaintedAndCapsDoNotOverlap) {
  QtKeyCapGrid grid;
  grid.SetCaps(Caps(66));
  grid.resize(grid.sizeHint());
  const QRect area(QPoint(0, 0), grid.sizeHint());
  for (int i = 0; i < 66; ++i) {
    const QRect cap = grid.CapRect(i);
    EXPECT_TRUE(area.contains(cap)) << i;
    EXPECT_EQ(grid.CapAt(cap.center()), i);
    if (i > 0) {
      EXPECT_FALSE(cap.intersects(grid.CapRect(i - 1))) << i;
    }
  }
  // Key-number order: left to right, then the next row.
  EXPECT_EQ(grid.CapRect(11).left(), grid.CapRect(0).left());
  EXPECT_GT(grid.CapRect(11).top(), grid.CapRect(10).top());
  EXPECT_EQ(grid.CapAt(QPoint(1, 1)), -1);
}

TEST(KeyCapGrid, ClicksAndArrowKeysSelectCapsAndSayWhichOnce) {
  QtKeyCapGrid grid;
  grid.SetCaps(Caps(48));
  grid.resize(grid.sizeHint());
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  QSignalSpy selected(&grid, &QtKeyCapGrid::keySelected);

  QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CapRect(13).center());
  QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CapRect(13).center());
  ASSERT_EQ(selected.count(), 1);
  EXPECT_EQ(selected.takeFirst().at(0).toInt(), 13);
  EXPECT_EQ(grid.selectedIndex(), 13);

  const struct {
    Qt::Key key;
    int to;
  } steps[] = {{Qt::Key_Down, 25}, {Qt::Key_Right, 26}, {Qt::Key_Up, 14},  {Qt::Key_Home, 0},
               {Qt::Key_Left, 0},  {Qt::Key_Up, 0},     {Qt::Key_End, 47}, {Qt::Key_Down, 47}};
  for (const auto& step : steps) {
    QTest::keyClick(&grid, step.key);
    EXPECT_EQ(grid.selectedIndex(), step.to) << step.key;
  }
  // Moves that stay put (past the first or last cap) say nothing.
  EXPECT_EQ(selected.count(), 5);

  // New caps keep the selection when it still exists.
  grid.SetCaps(Caps(24));
  EXPECT_EQ(grid.selectedIndex(), -1);
  grid.SetSelectedIndex(20);
  grid.SetCaps(Caps(24));
  EXPECT_EQ(grid.selectedIndex(), 20);
}

TEST(SequenceChips, WrapAtTheWidthWithoutOverlap) {
  QtSequenceChips chips;
  std::vector<SequenceChip> sequence;
  for (int i = 0; i < 12; ++i)
    sequence.push_back({i % 2 ? SequenceChip::Kind::Release : SequenceChip::Kind::Press,
                        QStringLiteral("\u2193LCtrl")});
  chips.SetChips(sequence);
  for (int width : {120, 300, 900}) {
    SCOPED_TRACE(width);
    const std::vector<QRect> rects = chips.ChipRects(width);
    ASSERT_EQ(rects.size(), sequence.size());
    for (std::size_t i = 0; i < rects.size(); ++i) {
      EXPECT_LE(rects[i].right(), width) << i;
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(rects[i].intersects(rects[j])) << i << " " << j;
    }
    EXPECT_EQ(chips.heightForWidth(width), rects.back().bottom() + 1 + 3);
  }
  EXPECT_GT(chips.heightForWidth(120), chips.heightForWidth(900));
  // A chip wider than the widget still gets a line of its own.
  chips.SetChips({{SequenceChip::Kind::Other, QStringLiteral("a very long chip text")}});
  EXPECT_EQ(chips.ChipRects(20).size(), 1u);
}

// A key pressed or released as the window system delivers it, with the X keycode (evdev + 8).
void QueueKey(QWidget& window, QEvent::Type type, int key, int evdev, bool autoRepeat = false,
              Qt::KeyboardModifiers modifiers = {}) {
  QWindowSystemInterface::handleExtendedKeyEvent(window.windowHandle(), type, key, modifiers,
                                                 static_cast<quint32>(evdev + 8), 0, 0, QString(),
                                                 autoRepeat);
}

struct RecorderRig {
  RecorderRig() {
    window.resize(200, 100);
    target = new QWidget(&window);
    target->setFocusPolicy(Qt::StrongFocus);
    undo = new QAction(&window);
    undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    window.addAction(undo);
    window.show();
    exposed = QTest::qWaitForWindowExposed(&window);
    window.activateWindow();
  }
  void Deliver() { QCoreApplication::processEvents(); }

  QWidget window;
  bool exposed = false;
  QWidget* target = nullptr;
  QAction* undo = nullptr;
  QtKeyRecorder recorder;
};

std::vector<std::pair<int, bool>> Taken(const std::vector<RecordedKeyEvent>& events) {
  std::vector<std::pair<int, bool>> taken;
  for (const RecordedKeyEvent& event : events)
    taken.emplace_back(event.evdevCode, event.press);
  return taken;
}

TEST(KeyRecorder, TakesEveryKeyShortcutsAndFocusKeysIncludedUntilStopped) {
  RecorderRig rig;
  ASSERT_TRUE(rig.exposed);
  QSignalSpy undone(rig.undo, &QAction::triggered);
  rig.recorder.Start(*rig.target);
  EXPECT_EQ(QWidget::keyboardGrabber(), rig.target);
  // Esc, Tab, Ctrl+Z (held Ctrl auto-repeats), Enter.
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Escape, 1);
  QueueKey(rig.window, QEvent::KeyRelease, Qt::Key_Escape, 1);
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Tab, 15);
  QueueKey(rig.window, QEvent::KeyRelease, Qt::Key_Tab, 15);
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Control, 29);
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Control, 29, true, Qt::ControlModifier);
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Z, 44, false, Qt::ControlModifier);
  QueueKey(rig.window, QEvent::KeyRelease, Qt::Key_Z, 44, false, Qt::ControlModifier);
  QueueKey(rig.window, QEvent::KeyRelease, Qt::Key_Control, 29, false, Qt::ControlModifier);
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Return, 28);
  QueueKey(rig.window, QEvent::KeyRelease, Qt::Key_Return, 28);
  rig.Deliver();
  EXPECT_TRUE(rig.target->hasFocus());
  const std::vector<RecordedKeyEvent> taken = rig.recorder.Stop();
  const std::vector<std::pair<int, bool>> expected{{1, true},  {1, false}, {15, true},  {15, false},
                                                   {29, true}, {44, true}, {44, false}, {29, false},
                                                   {28, true}, {28, false}};
  EXPECT_EQ(Taken(taken), expected);
  EXPECT_EQ(undone.count(), 0);
  EXPECT_FALSE(rig.recorder.recording());
  EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

  // Stopped: keys go where they always go, and the shortcut works again.
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_Z, 44, false, Qt::ControlModifier);
  QueueKey(rig.window, QEvent::KeyRelease, Qt::Key_Z, 44, false, Qt::ControlModifier);
  rig.Deliver();
  EXPECT_EQ(rig.recorder.events().size(), expected.size());
  EXPECT_EQ(undone.count(), 1);
}

TEST(KeyRecorder, AKeyWithoutAScanCodeIsCountedNotRecorded) {
  RecorderRig rig;
  rig.recorder.Start(*rig.target);
  QKeyEvent made(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QCoreApplication::sendEvent(rig.target, &made);
  QueueKey(rig.window, QEvent::KeyPress, Qt::Key_B, 48);
  rig.Deliver();
  EXPECT_EQ(rig.recorder.unknownKeys(), 1);
  EXPECT_EQ(Taken(rig.recorder.Stop()), (std::vector<std::pair<int, bool>>{{48, true}}));
  // A new recording starts empty.
  rig.recorder.Start(*rig.target);
  EXPECT_TRUE(rig.recorder.events().empty());
  EXPECT_EQ(rig.recorder.unknownKeys(), 0);
}

TEST(ProgramOptions, KeysNamesTheFileForTheKeyMapWindow) {
  const char* spaced[] = {"tdxxload", "--keys", "my keys.ckd", "other.ckd"};
  ProgramOptions options = ParseProgramOptions(4, spaced);
  EXPECT_EQ(options.error, "");
  EXPECT_EQ(options.keysFile, "my keys.ckd");
  EXPECT_EQ(options.arguments, std::vector<std::string>{"other.ckd"});

  const char* joined[] = {"tdxxload", "--keys=/tmp/k.ckd"};
  EXPECT_EQ(ParseProgramOptions(2, joined).keysFile, "/tmp/k.ckd");
  const char* ended[] = {"tdxxload", "--", "--keys=k.ckd"};
  options = ParseProgramOptions(3, ended);
  EXPECT_EQ(options.keysFile, "");
  EXPECT_EQ(options.arguments, std::vector<std::string>{"--keys=k.ckd"});
  for (const char* missing : {"--keys", "--keys="}) {
    const char* argv[] = {"tdxxload", missing};
    EXPECT_EQ(ParseProgramOptions(2, argv).error, "--keys needs a key-definition file") << missing;
  }
}

}  // namespace
}  // namespace tdxx::test
