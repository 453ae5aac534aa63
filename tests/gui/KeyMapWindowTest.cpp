// The Key Map window: opened from the Options menu on the loaded file, a key changed by Record
// and by Type text, undo and redo, saving (which loads the file as Open File does), and the
// download of the edited file to a simulated keypad; refusals, closing with unsaved changes,
// a new file.

#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "GuiHarness.h"
#include "gui/QtKeyCapGrid.h"
#include "gui/QtKeyLevelEditor.h"
#include "sim/DeviceConfig.h"
#include "sim/SimulatedDevice.h"

// Not part of the toolkit's public interface: the queue the window system's input goes into.
#include <qpa/qwindowsysteminterface.h>

namespace tdxx::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The example file copied into the test's folder, so that saving leaves the original alone.
std::string CopyOfExample(const GuiHarness& gui, const char* name) {
  const std::string copy = gui.temp / name;
  std::filesystem::copy_file(std::string(TDXX_EXAMPLES_DIR) + "/" + name, copy);
  return copy;
}

// The section of a CKD file's text that holds `key` ("Level_1_Codes=..." lines and all).
std::string SectionOf(const std::string& file, const std::string& section) {
  const std::size_t start = file.find("[" + section + "]");
  if (start == std::string::npos)
    return {};
  const std::size_t end = file.find('[', start + 1);
  return file.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

template <typename T>
T* Child(TfrmKeyMap& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr)
    throw std::logic_error(std::string("no child ") + name);
  return child;
}

void ClickCap(TfrmKeyMap& window, int index) {
  QtKeyCapGrid* grid = window.grid();
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CapRect(index).center());
}

// A key pressed or released on the computer's keyboard, as X delivers it (evdev code + 8).
void Key(TfrmKeyMap& window, QEvent::Type type, int qtKey, int evdev) {
  QWindowSystemInterface::handleExtendedKeyEvent(window.windowHandle(), type, qtKey, {},
                                                 static_cast<quint32>(evdev + 8), 0, 0);
}

// Answers the next message box with `button`, keeping its text.
void AnswerNextBox(GuiHarness& gui, QMessageBox::StandardButton button, QString* text = nullptr) {
  gui.OnNextModal([button, text](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr)
      throw std::logic_error("a message box was expected");
    if (text != nullptr)
      *text = box->text();
    box->button(button)->click();
  });
}

// Enters `text` in the next input dialog and accepts it.
void AnswerNextInput(GuiHarness& gui, const QString& text) {
  gui.OnNextModal([text](QWidget* modal) {
    auto* dialog = qobject_cast<QInputDialog*>(modal);
    if (dialog == nullptr)
      throw std::logic_error("an input dialog was expected");
    dialog->setTextValue(text);
    dialog->accept();
  });
}

class KeyMapWindow : public ::testing::Test {
 protected:
  KeyMapWindow() : gui(std::nullopt, {"td-b"}) {}

  // Opens the 48-key example in the main window, then the Key Map window from the menu.
  void OpenExample() {
    file = CopyOfExample(gui, "td-b-letters.ckd");
    gui.OpenFile(file);
    ASSERT_EQ(gui.app.state.keyCount, 48);
    gui.frmMain.show();
    gui.Find<QAction>("mnuKeyMap")->trigger();
    ASSERT_TRUE(gui.frmKeyMap.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmKeyMap));
  }

  // A shortcut (Ctrl+Z, Ctrl+S) pressed in the window. The window is made active first: the
  // offscreen platform activates no window again when a dialog closes.
  void Shortcut(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    gui.frmKeyMap.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&gui.frmKeyMap));
    QTest::keyClick(&gui.frmKeyMap, key, modifiers);
  }

  QString CodeText(int level) {
    return Child<QLineEdit>(gui.frmKeyMap, level == 1 ? "edCodeText1" : "edCodeText2")->text();
  }

  GuiHarness gui;
  std::string file;
};

TEST_F(KeyMapWindow, TheOptionsItemShowsTheLoadedFilesKeysInKeyNumberOrder) {
  OpenExample();
  const std::vector<KeyCapFace>& caps = gui.frmKeyMap.grid()->caps();
  ASSERT_EQ(caps.size(), 48u);
  for (int i = 0; i < 48; ++i)
    EXPECT_EQ(caps[static_cast<std::size_t>(i)].number, i);
  // Every cap shows what its level 1 does; the example has no problems.
  for (const KeyCapFace& cap : caps) {
    EXPECT_FALSE(cap.level1.isEmpty()) << cap.number;
    EXPECT_FALSE(cap.problem) << cap.number;
  }
  EXPECT_TRUE(gui.frmKeyMap.windowTitle().contains(QStringLiteral("td-b-letters.ckd")));
  EXPECT_GE(Child<QTableWidget>(gui.frmKeyMap, "tblGlobals")->rowCount(), 6);

  // Opened again while it shows the loaded file: the same document, nothing asked.
  ClickCap(gui.frmKeyMap, 5);
  gui.Find<QAction>("mnuKeyMap")->trigger();
  EXPECT_EQ(gui.keyMap.selectedKey(), std::optional<int>(5));
}

TEST_F(KeyMapWindow, RecordTypeTextUndoSaveAndDownloadReachTheKeypad) {
  OpenExample();

  // Key 3, level 1, recorded: Ctrl+C pressed on the computer's keyboard.
  ClickCap(gui.frmKeyMap, 3);
  QPushButton* record = Child<QPushButton>(gui.frmKeyMap, "btnRecord1");
  QTest::mouseClick(record, Qt::LeftButton);
  ASSERT_EQ(record->text(), QStringLiteral("Stop"));
  Key(gui.frmKeyMap, QEvent::KeyPress, Qt::Key_Control, 29);
  Key(gui.frmKeyMap, QEvent::KeyPress, Qt::Key_C, 46);
  Key(gui.frmKeyMap, QEvent::KeyRelease, Qt::Key_C, 46);
  Key(gui.frmKeyMap, QEvent::KeyRelease, Qt::Key_Control, 29);
  QCoreApplication::processEvents();
  QTest::mouseClick(record, Qt::LeftButton);
  EXPECT_EQ(record->text(), QStringLiteral("Record"));
  EXPECT_EQ(CodeText(1), QStringLiteral("1421f021f014"));
  EXPECT_EQ(Child<QLabel>(gui.frmKeyMap, "lblSummary1")->text(), QStringLiteral("Ctrl+C"));

  // Level 2 types "Hi".
  AnswerNextInput(gui, QStringLiteral("Hi"));
  QTest::mouseClick(Child<QPushButton>(gui.frmKeyMap, "btnTypeText2"), Qt::LeftButton);
  EXPECT_EQ(CodeText(2), QStringLiteral("1233f033f01243f043"));

  // A third edit, on key 4, undone with Ctrl+Z; redone and undone again.
  ClickCap(gui.frmKeyMap, 4);
  const QString key4Level1 = CodeText(1);
  QTest::mouseClick(Child<QPushButton>(gui.frmKeyMap, "btnClear1"), Qt::LeftButton);
  EXPECT_EQ(CodeText(1), QString());
  Shortcut(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(CodeText(1), key4Level1);
  Shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(CodeText(1), QString());
  Shortcut(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(CodeText(1), key4Level1);
  EXPECT_TRUE(gui.frmKeyMap.windowTitle().contains(QLatin1Char('*')));

  // Saved: only key 3's codes changed in the file, and the file is the loaded one.
  const std::string before = ReadWholeFile(file);
  Shortcut(Qt::Key_S, Qt::ControlModifier);
  const std::string after = ReadWholeFile(file);
  EXPECT_FALSE(gui.frmKeyMap.windowTitle().contains(QLatin1Char('*')));
  EXPECT_NE(SectionOf(after, "KEY3").find("Level_1_Codes=1421f021f014"), std::string::npos);
  EXPECT_NE(SectionOf(after, "KEY3").find("Level_2_Codes=1233f033f01243f043"), std::string::npos);
  EXPECT_EQ(SectionOf(after, "KEY4"), SectionOf(before, "KEY4"));
  EXPECT_EQ(SectionOf(after, "GLOBAL_PARAMETERS"), SectionOf(before, "GLOBAL_PARAMETERS"));
  EXPECT_EQ(gui.app.state.loadedFileType, kFileCkd);
  EXPECT_EQ(gui.app.state.keyCount, 48);
  EXPECT_EQ(gui.app.state.dataFileName, file);

  // Downloaded to the simulated TD-B: the keypad decodes the edited key.
  gui.clock.quick = true;
  gui.commands.btnConnectClick();
  ASSERT_EQ(gui.app.state.deviceKind, 6);
  gui.commands.btnDownloadClick();
  ASSERT_TRUE(gui.app.state.taskDone);
  const sim::ReceivedKeyImage received = gui.simulation->device(0).config().keyImage->Snapshot();
  ASSERT_EQ(received.keys.size(), 48u);
  const sim::ReceivedKey& key3 = received.keys[3];
  EXPECT_EQ(key3.keyNumber(), 3);
  EXPECT_EQ(key3.level1Length, 7);
  EXPECT_EQ(key3.level1, (Bytes{0x14, 0x21, 0xE3, 0x21, 0xE3, 0x14, 0x00}));
  EXPECT_EQ(key3.level2Length, 10);
  EXPECT_EQ(key3.level2, (Bytes{0x12, 0x33, 0xE3, 0x33, 0xE3, 0x12, 0x43, 0xE3, 0x43, 0x00}));
  // Key 4 as the example has it: its undone edit was not saved.
  EXPECT_EQ(received.keys[4].level1Length, 2);
}

TEST_F(KeyMapWindow, AProblemIsMarkedOnItsKeyAndListedAndTheListSelectsTheKey) {
  // Key 30's level 1 ends in a pair the keypad rejects: the level sends nothing.
  std::string text = ReadWholeFile(std::string(TDXX_EXAMPLES_DIR) + "/td-b-letters.ckd");
  const std::string codes = "Level_1_Codes=34";
  text.insert(text.find(codes, text.find("[KEY30]")) + codes.size(), "e5");
  gui.OpenFile(gui.temp.Write("problem.ckd", text));
  gui.Find<QAction>("mnuKeyMap")->trigger();
  const std::vector<KeyCapFace>& caps = gui.frmKeyMap.grid()->caps();
  ASSERT_EQ(caps.size(), 48u);
  for (const KeyCapFace& cap : caps) {
    EXPECT_EQ(cap.problem, cap.number == 30) << cap.number;
    EXPECT_EQ(cap.level1Dropped, cap.number == 30) << cap.number;
    EXPECT_FALSE(cap.level2Dropped) << cap.number;
  }
  auto* problems = Child<QListWidget>(gui.frmKeyMap, "lstProblems");
  ASSERT_EQ(problems->count(), 1);
  EXPECT_TRUE(problems->item(0)->text().startsWith(QStringLiteral("Key 30, level 1: ")));
  emit problems->itemActivated(problems->item(0));
  EXPECT_EQ(gui.keyMap.selectedKey(), std::optional<int>(30));
  EXPECT_EQ(gui.frmKeyMap.grid()->selectedIndex(), 30);
  EXPECT_FALSE(Child<QLabel>(gui.frmKeyMap, "lblProblems1")->text().isEmpty());
}

TEST_F(KeyMapWindow, AnEditThatWouldOverflowALevelIsRefusedWithTheReason) {
  OpenExample();
  ClickCap(gui.frmKeyMap, 7);
  const QString level2 = CodeText(2);
  // 112 codes: one more than level 2 holds.
  QString tooLong;
  for (int i = 0; i < 112; ++i)
    tooLong += QStringLiteral("1c");
  QString said;
  AnswerNextBox(gui, QMessageBox::Ok, &said);
  auto* field = Child<QLineEdit>(gui.frmKeyMap, "edCodeText2");
  field->setText(tooLong);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_FALSE(said.isEmpty());
  EXPECT_EQ(CodeText(2), level2);
  EXPECT_FALSE(gui.frmKeyMap.windowTitle().contains(QLatin1Char('*')));
}

TEST_F(KeyMapWindow, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
  OpenExample();
  ClickCap(gui.frmKeyMap, 2);
  QTest::mouseClick(Child<QPushButton>(gui.frmKeyMap, "btnClear2"), Qt::LeftButton);
  const std::string before = ReadWholeFile(file);

  QString asked;
  AnswerNextBox(gui, QMessageBox::Cancel, &asked);
  gui.frmKeyMap.close();
  EXPECT_TRUE(gui.frmKeyMap.isVisible());
  EXPECT_FALSE(asked.isEmpty());

  // Exit of the main window asks too; Cancel keeps the program running.
  AnswerNextBox(gui, QMessageBox::Cancel);
  gui.commands.btnExitClick();
  EXPECT_TRUE(gui.frmMain.isVisible());

  AnswerNextBox(gui, QMessageBox::Discard);
  gui.frmKeyMap.close();
  EXPECT_FALSE(gui.frmKeyMap.isVisible());
  EXPECT_EQ(ReadWholeFile(file), before);
  // Discarded: opened again, the window shows the file as saved, and nothing is asked.
  gui.Find<QAction>("mnuKeyMap")->trigger();
  EXPECT_FALSE(gui.keyMap.dirty());
  EXPECT_EQ(gui.keyMap.Key(2).levels[1].codeText, "26");
  gui.commands.btnExitClick();
  EXPECT_FALSE(gui.frmMain.isVisible());
}

TEST_F(KeyMapWindow, WithNothingLoadedANewFileIsMadeAndSaveAsLoadsIt) {
  gui.frmMain.show();
  AnswerNextInput(gui, QStringLiteral("TD-A (24 keys)"));
  gui.Find<QAction>("mnuKeyMap")->trigger();
  ASSERT_TRUE(gui.frmKeyMap.isVisible());
  EXPECT_EQ(gui.frmKeyMap.grid()->caps().size(), 24u);

  ClickCap(gui.frmKeyMap, 0);
  AnswerNextInput(gui, QStringLiteral("ok"));
  QTest::mouseClick(Child<QPushButton>(gui.frmKeyMap, "btnTypeText1"), Qt::LeftButton);

  const std::string saved = gui.temp / "new keys.ckd";
  gui.OnNextModal([saved](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr)
      throw std::logic_error("the save dialog was expected");
    GuiHarness::ChooseInDialog(*dialog, saved);
  });
  Shortcut(Qt::Key_S, Qt::ControlModifier);
  const std::string text = ReadWholeFile(saved);
  EXPECT_NE(text.find("Number_Of_Keys=24"), std::string::npos);
  EXPECT_NE(SectionOf(text, "KEY0").find("Level_1_Codes=44f04442f042"), std::string::npos);
  EXPECT_EQ(gui.app.state.dataFileName, saved);
  EXPECT_EQ(gui.app.state.keyCount, 24);
  EXPECT_TRUE(gui.frmKeyMap.windowTitle().contains(QStringLiteral("new keys.ckd")));
}

TEST_F(KeyMapWindow, AFileThatCannotBeReadIsSaidInABox) {
  QString said;
  AnswerNextBox(gui, QMessageBox::Ok, &said);
  gui.frmKeyMap.ShowFile(gui.temp / "missing.ckd");
  EXPECT_FALSE(said.isEmpty());
  EXPECT_FALSE(gui.frmKeyMap.isVisible());
}

}  // namespace
}  // namespace tdxx::test
