// A whole standard download run from the main window keeps the window painting.

#include <gtest/gtest.h>

#include <QEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>

#include "GuiHarness.h"

namespace tdxx::test {
namespace {

class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      ++paints;
    return QObject::eventFilter(watched, event);
  }
};

TEST(DownloadInTheWindow, AStandardDownloadPaintsAsItGoesAndSucceeds) {
  GuiHarness gui(std::nullopt, {"td-b"});
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));

  const std::string keys = std::string(TDXX_EXAMPLES_DIR) + "/td-b-letters.ckd";
  gui.OpenFile(keys);
  ASSERT_EQ(gui.app.state.keyCount, 48);
  gui.commands.btnConnectClick();
  ASSERT_EQ(gui.app.state.deviceKind, 6);

  PaintCounter log(gui.Find<QPlainTextEdit>("memoProgress")->viewport());
  PaintCounter bar(gui.Find<QProgressBar>("ProgressBar1"));
  // Some 16 500 feature reports with their pauses: the waiting is left out, the painting not.
  gui.clock.quick = true;
  gui.commands.btnDownloadClick();
  gui.clock.quick = false;

  const std::string& text = gui.frmMain.progressText();
  const std::string success = "\r\nSUCCESS! Download Complete.\r\n";
  ASSERT_GE(text.size(), success.size());
  EXPECT_EQ(text.substr(text.size() - success.size()), success);
  // The log is painted at each of its lines (the start, the blocks, the outcome), the bar at
  // each of its steps (one per key at least).
  EXPECT_GE(log.paints, 3);
  EXPECT_GE(bar.paints, 48);
}

}  // namespace
}  // namespace tdxx::test
