// The progress log as shown: conversions, pieces that split a line end or a character, caret,
// selection and a long log.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <string>
#include <vector>

#include "GuiHarness.h"
#include "gui/QtNarrowText.h"

namespace tdxx::test {
namespace {

struct LogCase {
  const char* name;
  std::vector<std::string> pieces;
  QString shown;
};

QString Shown(const char* utf8) {
  return QString::fromUtf8(utf8);
}

const std::vector<LogCase> kLogCases = {
    {"three lines, the second closing a step",
     {"\r\nOne", "\r\nTwo\r\n", "\r\nThree"},
     Shown("\nOne\nTwo\n\nThree")},
    {"a text without a line break continues the line",
     {"\r\nOpen file.  ", "File read SUCCESSFUL.\r\n"},
     Shown("\nOpen file.  File read SUCCESSFUL.\n")},
    {"lone CR and lone LF", {"a\rb\nc\r\rd"}, Shown("a\nb\nc\n\nd")},
    {"CR LF split over two texts", {"a\r", "\nb"}, Shown("a\nb")},
    {"CR then another CR", {"a\r", "\rb"}, Shown("a\n\nb")},
    {"valid UTF-8", {"caf\xC3\xA9 \xE2\x82\xAC"}, Shown("caf\xC3\xA9 \xE2\x82\xAC")},
    {"invalid bytes as Latin-1", {"\xE9t\xE9 \xFF"}, Shown("\xC3\xA9t\xC3\xA9 \xC3\xBF")},
    {"a character split over two texts", {"caf\xC3", "\xA9!"}, Shown("caf\xC3\xA9!")},
    {"a euro sign split over three texts", {"\xE2", "\x82", "\xAC"}, Shown("\xE2\x82\xAC")},
    {"a cut-off character that never completes", {"\xE2\x82", "x"}, Shown("\xC3\xA2\xC2\x82x")},
    {"an overlong form", {"\xC0\xAF"}, Shown("\xC3\x80\xC2\xAF")},
};

TEST(ProgressLog, ShowsEachTextConvertedAndKeepsItByteForByte) {
  for (const LogCase& c : kLogCases) {
    SCOPED_TRACE(c.name);
    GuiHarness gui;
    std::string logged;
    for (const std::string& piece : c.pieces) {
      gui.frmMain.LogProgress(piece);
      logged += piece;
    }
    EXPECT_EQ(gui.Find<QPlainTextEdit>("memoProgress")->toPlainText(), c.shown);
    EXPECT_EQ(gui.frmMain.progressText(), logged);
  }
}

// Whatever way a text is cut into pieces, the pieces show as the whole text does.
TEST(DisplayTextStream, AnySplitShowsAsTheWhole) {
  const std::string whole =
      "\r\nA\xC3\xA9\r\r\n\xF0\x9F\x94\x91 k\xE2\x82\xAC\xE2\x82\xFF\xED\xA0\x80 \xF4\x90\r";
  const QString expected = DisplayText(whole);
  for (std::size_t first = 0; first <= whole.size(); ++first) {
    for (std::size_t second = first; second <= whole.size(); ++second) {
      DisplayTextStream stream;
      QString shown;
      for (const std::string_view piece : {std::string_view(whole).substr(0, first),
                                           std::string_view(whole).substr(first, second - first),
                                           std::string_view(whole).substr(second)}) {
        const DisplayTextStream::Piece next = stream.Append(piece);
        ASSERT_LE(next.takeBack, shown.size());
        shown.chop(next.takeBack);
        shown += next.text;
      }
      ASSERT_EQ(shown, expected) << "cut at " << first << " and " << second;
    }
  }
}

TEST(ProgressLog, CaretGoesToTheEndDroppingTheSelectionAndStaysInView) {
  GuiHarness gui;
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  auto* box = gui.Find<QPlainTextEdit>("memoProgress");
  for (int i = 0; i < 40; ++i)
    gui.frmMain.LogProgress("\r\nline " + std::to_string(i));
  QTextCursor selection(box->document());
  selection.setPosition(1);
  selection.setPosition(6, QTextCursor::KeepAnchor);
  box->setTextCursor(selection);
  box->verticalScrollBar()->setValue(0);

  gui.frmMain.LogProgress("\r\nlast");
  const QTextCursor caret = box->textCursor();
  EXPECT_FALSE(caret.hasSelection());
  EXPECT_EQ(caret.position(), box->document()->characterCount() - 1);
  EXPECT_GT(box->verticalScrollBar()->value(), 0);
  EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect()));
}

TEST(ProgressLog, LongLogIsKeptWhole) {
  GuiHarness gui;
  constexpr int kLines = 20000;
  const std::string line = "\r\nSent key record with its scan codes and modes, level 1 and 2.";
  for (int i = 0; i < kLines; ++i)
    gui.frmMain.LogProgress(line);
  auto* box = gui.Find<QPlainTextEdit>("memoProgress");
  EXPECT_EQ(box->blockCount(), kLines + 1);
  EXPECT_EQ(gui.frmMain.progressText().size(), line.size() * kLines);
  EXPECT_EQ(box->document()->firstBlock().next().text().toStdString(), line.substr(2));
}

}  // namespace
}  // namespace tdxx::test
