// The PRG/TMode guide window: its controls, Connect with and without a keypad in PRG/TMode, and
// handing the download back to the main window.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "GuiHarness.h"
#include "GuideWindowProbe.h"

namespace tdxx::test {
namespace {

struct TModeView {
  std::string connectCaption;
  bool downloadEnabled = false;
  bool notFoundVisible = false;
};

TModeView View(QWidget& window) {
  return {Control<QPushButton>(window, "btnConnectTMode")->text().toStdString(),
          Control<QPushButton>(window, "btnDownload")->isEnabled(),
          Control<QLabel>(window, "lblNotFound")->isVisible()};
}

template <typename Act>
void ShowGuide(GuiHarness& gui, Act act) {
  test::ShowGuide(gui, gui.frmTMode, ModalWindow::TMode, act);
}

TEST(TModeWindow, ControlsTextsFontsAndTabOrder) {
  GuiHarness gui;
  TfrmTMode& window = gui.frmTMode;
  EXPECT_EQ(window.windowTitle().toStdString(), "Download via PRG/TMode Method");
  EXPECT_EQ(window.size(), QSize(531, 335));
  EXPECT_EQ(window.font().family().toStdString(), "Tahoma");
  EXPECT_EQ(window.font().pointSize(), 8);

  const struct {
    const char* name;
    const char* text;
  } labels[] = {
      {"Label0", "How to download to your TDxx/WKxxx using the PRG/TMode method:"},
      {"Label1", "1. On the back of your keypad, move the switch to the \"PRG\" position."},
      {"Label2", "2. The LED on the keypad should (eventually) turn solid purple/pink."},
      {"Label3",
       "3. Use the \"Connect via PRG\" button here or the \"Connect\" button on the main page to "
       "locate your keypad in PRG/TMode over USB."},
      {"Label4",
       "4. Click the \"Download\" button here or on the main page.  The file will be sent to the "
       "keypad. (Make sure you have loaded a CKD file first)"},
      {"Label5",
       "5. After the download is complete, move the switch back to the normal keyboard "
       "position.  Your keypad will reboot with the new settings."},
      {"lblNotFound", "Not found!"}};
  for (const auto& l : labels) {
    auto* label = Control<QLabel>(window, l.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text().toStdString(), l.text);
  }
  auto* label0 = Control<QLabel>(window, "Label0");
  EXPECT_TRUE(label0->font().bold());
  EXPECT_EQ(label0->font().pointSize(), 10);
  EXPECT_EQ(Control<QLabel>(window, "Label1")->font().pointSize(), 8);

  // The pictures beside steps 1 and 5.
  for (auto [image, step] : {std::pair{"Image1", "Label1"}, std::pair{"Image2", "Label5"}}) {
    auto* picture = Control<QLabel>(window, image);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(90, 30)) << image;
    EXPECT_LT(std::abs(picture->y() - Control<QLabel>(window, step)->y()), 10) << image;
  }

  auto* connect = Control<QPushButton>(window, "btnConnectTMode");
  auto* download = Control<QPushButton>(window, "btnDownload");
  auto* done = Control<QPushButton>(window, "btnDone");
  ASSERT_TRUE(connect && download && done);
  EXPECT_EQ(download->text().toStdString(), "Download File");
  EXPECT_FALSE(download->isEnabled());
  EXPECT_TRUE(Control<QLabel>(window, "lblNotFound")->isHidden());
  EXPECT_EQ(done->text().toStdString(), "Done");
  // Connect above Download File above "Not found!", right of steps 3 and 4; Done centred below.
  EXPECT_LT(connect->y(), download->y());
  EXPECT_LT(download->y(), Control<QLabel>(window, "lblNotFound")->y());
  EXPECT_GT(connect->x(), Control<QLabel>(window, "Label3")->geometry().right());
  EXPECT_LE(std::abs(done->geometry().center().x() - window.width() / 2), 1);
  EXPECT_GT(done->y(), Control<QLabel>(window, "Label5")->geometry().bottom());

  EXPECT_EQ(NextTabStop(done), connect);
  EXPECT_EQ(NextTabStop(connect), download);
  ExpectLaidOutCleanly(window);
}

TEST(TModeWindow, ConnectWithoutAKeypadShowsNotFound) {
  GuiHarness gui;
  gui.frmMain.show();
  TModeView afterConnect;
  ShowGuide(gui, [&](QWidget& window) {
    Click(window, "btnConnectTMode");
    afterConnect = View(window);
    Click(window, "btnDone");
  });
  EXPECT_EQ(afterConnect.connectCaption, "Connect via PRG");
  EXPECT_FALSE(afterConnect.downloadEnabled);
  EXPECT_TRUE(afterConnect.notFoundVisible);
  EXPECT_FALSE(gui.frmMain.findChild<QTimer*>(QStringLiteral("tmrTModeDownload"))->isActive());
}

TEST(TModeWindow, ConnectToAKeypadInPrgTModeEnablesDownloadFileWhichHandsTheDownloadBack) {
  GuiHarness gui(std::nullopt, {"prg-tmode"});
  gui.frmMain.show();
  TModeView atShow;
  TModeView afterConnect;
  ShowGuide(gui, [&](QWidget& window) {
    atShow = View(window);
    Click(window, "btnConnectTMode");
    afterConnect = View(window);
    Click(window, "btnDownload");
  });
  EXPECT_EQ(atShow.connectCaption, "Connect via PRG");
  EXPECT_FALSE(atShow.downloadEnabled);
  EXPECT_EQ(afterConnect.connectCaption, "Contacted!");
  EXPECT_TRUE(afterConnect.downloadEnabled);
  EXPECT_FALSE(afterConnect.notFoundVisible);
  EXPECT_EQ(gui.app.state.deviceKind, 9);
  EXPECT_NE(gui.frmMain.KeypadText(), "\r\n");
  auto* handBack = gui.frmMain.findChild<QTimer*>(QStringLiteral("tmrTModeDownload"));
  EXPECT_TRUE(handBack->isActive());
  // (The download itself is not part of this test.)
  handBack->stop();

  // The next showing starts afresh: the keypad must be contacted again.
  TModeView again;
  ShowGuide(gui, [&](QWidget& window) {
    again = View(window);
    window.close();
  });
  EXPECT_EQ(again.connectCaption, "Connect via PRG");
  EXPECT_FALSE(again.downloadEnabled);
  EXPECT_FALSE(again.notFoundVisible);
  EXPECT_EQ(gui.app.state.deviceKind, 9);
}

TEST(TModeWindow, TheCloseBoxWaitsForDetectionToEnd) {
  GuiHarness gui(std::nullopt, {"prg-tmode"});
  gui.frmMain.show();
  int refusedCloses = 0;
  TModeView afterConnect;
  ShowGuide(gui, [&](QWidget& window) {
    // Detection pauses between its queries; a close request in such a pause is refused.
    QTimer::singleShot(5, &gui.watcher, [&] {
      if (!window.close())
        ++refusedCloses;
    });
    Click(window, "btnConnectTMode");
    afterConnect = View(window);
    window.close();
  });
  EXPECT_EQ(refusedCloses, 1);
  EXPECT_EQ(afterConnect.connectCaption, "Contacted!");
}

}  // namespace
}  // namespace tdxx::test
