#include <gtest/gtest.h>

#include <set>

#include "keymap/KeyCodeTextInput.h"
#include "keymap/KeyEvents.h"
#include "keymap/ScanCodeTable.h"

namespace tdxx {
namespace {

std::string Summary(std::string_view codeText) {
  return SummarizeEvents(EventsFromCodeText(codeText));
}

TEST(ScanCodeTable, NamesCodesAndLinuxKeyCodesAreEachUnique) {
  std::set<std::pair<bool, int>> codes;
  std::set<int> evdev;
  std::set<std::string> names;
  for (const ScanCodeKey& key : AllScanCodeKeys()) {
    EXPECT_TRUE(names.insert(std::string(key.name)).second) << key.name;
    EXPECT_TRUE(evdev.insert(key.evdev).second) << key.name;
    if (key.name != "Pause") {
      EXPECT_TRUE(codes.insert({key.extended, key.code}).second) << key.name;
      EXPECT_EQ(FindKeyByCode(key.extended, key.code), &key);
    }
    EXPECT_EQ(FindKeyByEvdev(key.evdev), &key);
    EXPECT_EQ(FindKeyByName(key.name), &key);
  }
  // Kernel key codes of a few keys, and the toolkit's native scan code (evdev + 8) for A.
  EXPECT_EQ(FindKeyByEvdev(30)->code, 0x1C);
  EXPECT_EQ(FindKeyByNativeScanCode(38)->name, "A");
  EXPECT_EQ(FindKeyByEvdev(97)->name, "RCtrl");
  EXPECT_EQ(FindKeyByEvdev(194)->name, "F24");
  EXPECT_EQ(FindKeyByNativeScanCode(3), nullptr);
  EXPECT_EQ(FindKeyByName("ctrl")->name, "LCtrl");
  EXPECT_EQ(FindKeyByName("esc")->name, "Escape");
  EXPECT_EQ(FindKeyByName("Hyper"), nullptr);
}

TEST(KeyEvents, SummariesReadAtAGlance) {
  EXPECT_EQ(Summary(""), "");
  EXPECT_EQ(Summary("05"), "F1");
  EXPECT_EQ(Summary("05f005"), "F1");
  EXPECT_EQ(Summary("e011"), "RAlt");
  EXPECT_EQ(Summary("1421f021f014"), "Ctrl+C");
  // Modifiers released in another order still make the chord.
  EXPECT_EQ(Summary("14122ef02ef014f012"), "Ctrl+Shift+5");
  EXPECT_EQ(Summary("e01fe075e0f075e0f01f"), "Win+Up");
  EXPECT_EQ(Summary("33f03324f0244bf04b4bf04b44f044"), "types \"hello\"");
  EXPECT_EQ(Summary("1233f033f01243f043"), "types \"Hi\"");
  // Shift held over several keys types capitals too.
  EXPECT_EQ(Summary("1233f03343f043f012"), "types \"HI\"");
  EXPECT_EQ(Summary("1421f021f0145af05a"),
            "\u2193LCtrl \u2193C \u2191C \u2191LCtrl \u2193Enter \u2191Enter");
  // E3 as the images store the release prefix reads as F0 does.
  EXPECT_EQ(Summary("1ce31c"), "A");
}

TEST(KeyEvents, CodesWithoutANameShowAsHexNeverHidden) {
  EXPECT_EQ(Summary("e05f"), "e05f");
  EXPECT_EQ(Summary("1c02"), "\u2193A \u219302");
  // A prefix with no code after it stays visible.
  EXPECT_EQ(Summary("1ce0"), "\u2193A e0");
  EXPECT_EQ(Summary("f0"), "f0");
  // The reader's digit rule: a rejected pair ends what the events show.
  EXPECT_EQ(Summary("1ce51c"), "A");
}

TEST(KeyEvents, PauseIsOneEventAndRoundTrips) {
  const std::vector<KeyEvent> events = EventsFromCodeText("e11477e1f014f077");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].Name(), "Pause");
  EXPECT_EQ(CodeTextFromEvents(events), "e11477e1f014f077");
  EXPECT_EQ(CodeTextForChord("Ctrl+Pause").codeText, "14e11477e1f014f077f014");
}

TEST(KeyEvents, EventsRoundTripToLowercaseCodeText) {
  for (std::string_view text :
       {"1421f021f014", "e075e0f075", "e0f075", "e11477e1f014f077", "1c02e0", "f0"}) {
    EXPECT_EQ(CodeTextFromEvents(EventsFromCodeText(text)), text);
  }
}

TEST(KeyCodeTextInput, TypedTextOnAUsLayout) {
  EXPECT_EQ(CodeTextForTypedText("Hi").codeText, "1233f033f01243f043");
  EXPECT_EQ(CodeTextForTypedText("a\n").codeText, "1cf01c5af05a");
  // Every printable ASCII character types and reads back as the same text.
  std::string all;
  for (char c = ' '; c <= '~'; ++c)
    all += c;
  const CodeTextResult typed = CodeTextForTypedText(all);
  ASSERT_TRUE(typed.ok) << typed.error;
  std::string shown;
  for (const char c : all)
    shown += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
  EXPECT_EQ(Summary(typed.codeText), "types \"" + shown + "\"");

  EXPECT_FALSE(CodeTextForTypedText("").ok);
  const CodeTextResult umlaut = CodeTextForTypedText("gr\xC3\xBC");
  EXPECT_FALSE(umlaut.ok);
  EXPECT_NE(umlaut.error.find("0xc3"), std::string::npos) << umlaut.error;
}

TEST(KeyCodeTextInput, ChordsByTheTableNames) {
  EXPECT_EQ(CodeTextForChord("Ctrl+C").codeText, "1421f021f014");
  EXPECT_EQ(CodeTextForChord("Enter").codeText, "5af05a");
  EXPECT_EQ(CodeTextForChord("ctrl+shift+f5").codeText, "141203f003f012f014");
  EXPECT_EQ(CodeTextForChord("RCtrl+Delete").codeText, "e014e071e0f071e0f014");
  EXPECT_EQ(CodeTextForChord("Ctrl+C Enter").codeText, "1421f021f0145af05a");
  EXPECT_EQ(CodeTextForChord("Shift+KP+").codeText, "1279f079f012");
  EXPECT_EQ(CodeTextForChord("kp+").codeText, "79f079");

  const CodeTextResult unknown = CodeTextForChord("Ctrl+Hyper");
  EXPECT_FALSE(unknown.ok);
  EXPECT_NE(unknown.error.find("Hyper"), std::string::npos);
  EXPECT_FALSE(CodeTextForChord("A+B").ok);  // only modifiers come before the key
  EXPECT_FALSE(CodeTextForChord("Ctrl+").ok);
  EXPECT_FALSE(CodeTextForChord(" ").ok);
}

TEST(KeyCodeTextInput, RawCodesAndSetArguments) {
  EXPECT_EQ(CodeTextForRawCodes("1C F0 1c").ok, false);  // blanks inside are not codes
  EXPECT_EQ(CodeTextForRawCodes("1CF01C").codeText, "1cf01c");
  EXPECT_EQ(CodeTextForRawCodes("").codeText, "");
  for (std::string_view bad : {"e5", "00", "1", "zz", "1cff"}) {
    EXPECT_FALSE(CodeTextForRawCodes(bad).ok) << bad;
  }
  EXPECT_EQ(CodeTextForArgument("codes:1cf01c").codeText, "1cf01c");
  EXPECT_EQ(CodeTextForArgument("keys:Ctrl+C").codeText, "1421f021f014");
  EXPECT_EQ(CodeTextForArgument("text:Hi").codeText, "1233f033f01243f043");
  const CodeTextResult none = CodeTextForArgument("none");
  EXPECT_TRUE(none.ok);
  EXPECT_EQ(none.codeText, "");
  EXPECT_FALSE(CodeTextForArgument("chord:Ctrl+C").ok);
  EXPECT_FALSE(CodeTextForArgument("1cf01c").ok);
}

}  // namespace
}  // namespace tdxx
