// The guide windows make their controls at their first showing, not at start: start-up leaves
// them empty, the first showing makes every control once, in the state the controller gives,
// and a later showing makes none again.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QWidget>

#include "GuiHarness.h"
#include "GuideWindowProbe.h"
#include "gui/QtKeyCapGrid.h"
#include "gui/TfrmKeyMap.h"

namespace tdxx::test {
namespace {

TEST(GuideWindowContents, MadeAtTheFirstShowingAndOnlyThen) {
  GuiHarness gui;
  gui.frmMain.show();
  const struct {
    QWidget* window;
    ModalWindow which;
    const char* firstButton;
  } guides[] = {{&gui.frmFlashDrive, ModalWindow::FlashDrive, "btnShowFolders"},
                {&gui.frmTMode, ModalWindow::TMode, "btnConnectTMode"},
                {&gui.frmDownloadFail, ModalWindow::DownloadFail, "btnUsePRG_TMode"}};
  for (const auto& guide : guides) {
    SCOPED_TRACE(guide.window->objectName().toStdString());
    EXPECT_TRUE(guide.window->findChildren<QWidget*>().isEmpty());
    // Title and size belong to the window and are there from the start.
    EXPECT_FALSE(guide.window->windowTitle().isEmpty());
    EXPECT_FALSE(guide.window->size().isEmpty());

    qsizetype controls = 0;
    for (int showing = 0; showing < 2; ++showing) {
      ShowGuide(gui, *guide.window, guide.which, [&](QWidget& window) {
        const qsizetype now = window.findChildren<QWidget*>().size();
        if (showing == 0)
          controls = now;
        EXPECT_EQ(now, controls) << "showing " << showing;
        EXPECT_NE(window.findChild<QPushButton*>(QString::fromLatin1(guide.firstButton)), nullptr);
        window.close();
      });
    }
    EXPECT_GE(controls, 8);
  }
  // The PRG/TMode window shows its controller's state from the first showing on: no keypad
  // contacted, so nothing to download.
  ShowGuide(gui, gui.frmTMode, ModalWindow::TMode, [](QWidget& window) {
    EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("btnDownload"))->isEnabled());
    window.close();
  });
}

// The Key Map window, too, is made empty at start and gets its controls when first shown.
TEST(GuideWindowContents, KeyMapControlsAreMadeAtItsFirstShowing) {
  GuiHarness gui;
  gui.frmMain.show();
  EXPECT_EQ(gui.frmKeyMap.findChild<QtKeyCapGrid*>(), nullptr);
  EXPECT_EQ(gui.frmKeyMap.findChild<QPushButton*>(), nullptr);
  gui.frmKeyMap.show();
  EXPECT_NE(gui.frmKeyMap.findChild<QtKeyCapGrid*>(), nullptr);
  EXPECT_NE(gui.frmKeyMap.findChild<QPushButton*>(QStringLiteral("btnRecord1")), nullptr);
  gui.frmKeyMap.hide();
}

}  // namespace
}  // namespace tdxx::test
