// The main window as built: controls, texts, hints, sizes, order, fonts, menu and timers.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusFrame>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "GuiHarness.h"
#include "gui/QtToolbarIcons.h"

namespace tdxx::test {
namespace {

struct ToolButtonRow {
  const char* name;
  const char* text;
  const char* hint;
};

// In tool-bar order, the separators included.
const std::vector<ToolButtonRow> kToolBar = {
    {"btnOpen", "&Open File", "Open a CKD or UPG file"},
    {"ToolSeparator1", nullptr, nullptr},
    {"ToolSeparator2", nullptr, nullptr},
    {"btnConnect", "Connect", "Search USB for keypad"},
    {"btnDownload", "&Download", "Download file to Keypad"},
    {"btnOption", "Options", "Set download options"},
    {"btnReboot", "Reboot", "Reboot the keypad"},
    {"btnErase", "Erase CKD", "Erase all settings in the Keypad"},
    {"ToolSeparator3", nullptr, nullptr},
    {"ToolSeparator4", nullptr, nullptr},
    {"btnExit", "Exit", ""},  // its hint is never shown
};

TEST(MainWindowLayout, WindowIsAFixedWhiteWindowWithoutTitleBarButtons) {
  GuiHarness gui;
  EXPECT_EQ(gui.frmMain.windowTitle().toStdString(),
            "TDxxLoad - Quorvane TDxx Keypad File Loader  -  v1.70");
  EXPECT_EQ(gui.frmMain.size(), QSize(508, 438));
  EXPECT_EQ(gui.frmMain.minimumSize(), gui.frmMain.maximumSize());
  const Qt::WindowFlags flags = gui.frmMain.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_EQ(gui.frmMain.palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(gui.frmMain.font().pointSize(), 8);
  EXPECT_FALSE(QFontInfo(gui.frmMain.font()).fixedPitch());
}

TEST(MainWindowLayout, ToolBarHoldsTheButtonsInOrderWithTheirTextsAndHints) {
  GuiHarness gui;
  gui.frmMain.show();
  auto* toolBar = gui.Find<QWidget>("ToolBar1");
  ASSERT_NE(toolBar, nullptr);
  EXPECT_EQ(toolBar->height(), 50);
  EXPECT_EQ(toolBar->pos(), QPoint(0, 0));

  int lastRight = -1;
  for (const ToolButtonRow& row : kToolBar) {
    SCOPED_TRACE(row.name);
    auto* widget = gui.Find<QWidget>(row.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), toolBar);
    EXPECT_GE(widget->x(), lastRight);
    lastRight = widget->x() + widget->width();
    EXPECT_LE(widget->y() + widget->height(), toolBar->height());
    if (row.text == nullptr) {
      EXPECT_EQ(widget->width(), 8);
      continue;
    }
    auto* button = qobject_cast<QToolButton*>(widget);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->size(), QSize(65, 44));
    EXPECT_EQ(button->text().toStdString(), row.text);
    EXPECT_EQ(button->toolTip().toStdString(), row.hint);
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(button->iconSize(), QSize(16, 16));
    EXPECT_FALSE(button->icon().isNull());
  }
  EXPECT_LE(lastRight, 508);
  EXPECT_EQ(gui.Find<QToolButton>("btnExit")->statusTip().toStdString(), "Quit the application");
  EXPECT_EQ(gui.Find<QToolButton>("btnOption")->popupMode(), QToolButton::MenuButtonPopup);
  EXPECT_EQ(gui.Find<QToolButton>("btnOption")->menu(), gui.Find<QMenu>("mnuOptions"));
}

TEST(MainWindowLayout, SevenDistinctImages) {
  std::vector<QImage> images;
  for (int i = 0; i < kToolbarImageCount; ++i) {
    const QImage image = DrawToolbarImage(i).toImage();
    EXPECT_EQ(image.size(), QSize(16, 16));
    int painted = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        painted += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    EXPECT_GT(painted, 30) << "image " << i;
    for (const QImage& other : images)
      EXPECT_NE(image, other) << "image " << i;
    images.push_back(image);
  }
}

TEST(MainWindowLayout, PanelsHaveTheirSizesTextsAndFonts) {
  GuiHarness gui;
  const struct {
    const char* name;
    const char* title;
    QSize size;
  } groups[] = {{"gboxFile", " File ", {485, 108}},
                {"gboxDevice", " Keypad ", {485, 96}},
                {"gboxProgress", " Progress ", {485, 152}}};
  int lastBottom = 50;
  for (const auto& group : groups) {
    auto* box = gui.Find<QGroupBox>(group.name);
    ASSERT_NE(box, nullptr) << group.name;
    EXPECT_EQ(box->title().toStdString(), group.title);
    EXPECT_EQ(box->size(), group.size);
    EXPECT_GE(box->y(), lastBottom);
    lastBottom = box->y() + box->height();
  }
  EXPECT_LE(lastBottom, 438);

  EXPECT_EQ(gui.Find<QLabel>("lblFilename")->text().toStdString(), "File Name:");
  EXPECT_EQ(gui.Find<QLabel>("lblFileType")->text().toStdString(), "File Type:");
  EXPECT_EQ(gui.Find<QPlainTextEdit>("memoFileName")->size(), QSize(407, 45));
  EXPECT_EQ(gui.Find<QLineEdit>("edFileType")->size(), QSize(407, 21));
  EXPECT_TRUE(gui.Find<QLineEdit>("edFileType")->isReadOnly());

  for (const char* name : {"memoFileName", "memoKeypad", "memoProgress"}) {
    auto* box = gui.Find<QPlainTextEdit>(name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_TRUE(box->isReadOnly()) << name;
    EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth) << name;
  }
  auto* keypad = gui.Find<QPlainTextEdit>("memoKeypad");
  auto* progress = gui.Find<QPlainTextEdit>("memoProgress");
  EXPECT_EQ(keypad->size(), QSize(455, 64));
  EXPECT_EQ(progress->size(), QSize(455, 97));
  EXPECT_EQ(keypad->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(progress->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  for (QPlainTextEdit* box : {keypad, progress}) {
    EXPECT_EQ(box->font().pointSize(), 8);
    EXPECT_TRUE(QFontInfo(box->font()).fixedPitch())
        << QFontInfo(box->font()).family().toStdString();
  }
  EXPECT_EQ(gui.frmMain.KeypadText(), "\r\n");
  EXPECT_EQ(gui.frmMain.progressText(), "");

  auto* bar = gui.Find<QProgressBar>("ProgressBar1");
  EXPECT_EQ(bar->size(), QSize(455, 16));
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 48);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_GT(bar->y(), progress->y() + progress->height() - 1);
}

TEST(MainWindowLayout, OptionsMenuAndTimers) {
  GuiHarness gui;
  auto* menu = gui.Find<QMenu>("mnuOptions");
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> items = menu->actions();
  // The method items, a separator, Launch Bootloader and, last, the Key Map window.
  ASSERT_EQ(items.size(), 6);
  const char* names[] = {"mnuDownloadNormal",        "mnuDownloadViaTMode",
                         "mnuDownloadViaFlashDrive", "",
                         "mnuLaunchBootloader",      "mnuKeyMap"};
  const char* texts[] = {"Download CKD via old standard method",
                         "Download CKD via PRG/TMode download",
                         "Download BIN via Flash Drive copy",
                         "",
                         "Launch Bootloader...",
                         "Key Map..."};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(items[i]->objectName().toStdString(), names[i]);
    EXPECT_EQ(items[i]->text().toStdString(), texts[i]);
    EXPECT_EQ(items[i]->isSeparator(), i == 3);
    EXPECT_EQ(items[i]->isCheckable(), i < 3);
  }
  const struct {
    const char* name;
    int interval;
  } timers[] = {{"tmrStartup", 1000}, {"tmrTModeDownload", 100}};
  for (const auto& row : timers) {
    auto* timer = gui.frmMain.findChild<QTimer*>(QString::fromLatin1(row.name));
    ASSERT_NE(timer, nullptr) << row.name;
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_EQ(timer->interval(), row.interval);
    EXPECT_FALSE(timer->isActive());
  }
}

TEST(GuideWindows, CaptionsSizesAndFonts) {
  GuiHarness gui;
  const struct {
    QDialog* window;
    const char* name;
    const char* caption;
    QSize size;
  } rows[] = {
      {&gui.frmFlashDrive, "frmFlashDrive", "Download via Flash Drive Method", {531, 335}},
      {&gui.frmTMode, "frmTMode", "Download via PRG/TMode Method", {531, 335}},
      {&gui.frmDownloadFail,
       "frmDownloadFail",
       "Download Failed! -- Problems Downloading?",
       {436, 344}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.window->objectName().toStdString(), row.name);
    EXPECT_EQ(row.window->windowTitle().toStdString(), row.caption);
    EXPECT_EQ(row.window->size(), row.size);
    EXPECT_EQ(row.window->minimumSize(), row.window->maximumSize());
    EXPECT_EQ(row.window->windowType(), Qt::Tool);
    EXPECT_EQ(row.window->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(row.window->font().pointSize(), 8);
    EXPECT_FALSE(QFontInfo(row.window->font()).fixedPitch());
    EXPECT_EQ(row.window->parentWidget(), &gui.frmMain);
  }
}

// The keyboard starts on Open File, and whichever control has the focus is marked by a frame
// that follows it through the tab order.
TEST(MainWindowLayout, KeyboardFocusStartsOnOpenFileAndIsMarkedOnEveryControl) {
  GuiHarness gui;
  gui.frmMain.show();
  gui.frmMain.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&gui.frmMain));
  auto* open = gui.Find<QToolButton>("btnOpen");
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(QApplication::focusWidget(), open);
  auto* frame = gui.frmMain.findChild<QFocusFrame*>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->widget(), open);
  EXPECT_TRUE(frame->isVisible());

  // Every control in the tab chain gets the mark when it takes the focus.
  int stops = 0;
  for (QWidget* widget = open->nextInFocusChain(); widget != open;
       widget = widget->nextInFocusChain()) {
    if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible() || !widget->isEnabled() ||
        widget->window() != &gui.frmMain)
      continue;
    SCOPED_TRACE(widget->objectName().toStdString());
    widget->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(frame->widget(), widget);
    ++stops;
  }
  EXPECT_GE(stops, 6);  // the tool buttons after Open File at least
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(frame->widget(), QApplication::focusWidget());
}

}  // namespace
}  // namespace tdxx::test
