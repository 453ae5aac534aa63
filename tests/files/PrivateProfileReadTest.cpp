#include <gtest/gtest.h>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "UpgBuilder.h"
#include "files/PrivateProfile.h"

namespace tdxx {
namespace {

using test::TempFolder;

std::string Utf16LeWithBom(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Every case reads from this one file.
constexpr std::string_view kSettings =
    "loose=ignored before any section\r\n"
    "[Configuration]\r\n"
    "  DownloadMode  =  2  \r\n"
    "downloadmode=9\r\n"
    "Double=\"  quoted  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"y'\r\n"
    "Lone=\"\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "; Comment=not a key\r\n"
    "  ;Indented=not a key either\r\n"
    "[configuration]\r\n"
    "Second=in the second section of the same name\r\n"
    "[ Other ]\r\n"
    "Key = a = b\r\n"
    "[unclosed\r\n";

TEST(PrivateProfileRead, NamesValuesQuotesAndComments) {
  const ProfileSnapshot profile = ProfileSnapshot::Parse(kSettings);
  struct Case {
    std::string_view section, key, expected;
  };
  const Case cases[] = {
      {"CONFIGURATION", "DOWNLOADMODE", "2"},  // case ignored, blanks dropped, first key wins
      {"Configuration", "Double", "  quoted  "},
      {"Configuration", "Single", "x"},
      {"Configuration", "Mismatched", "\"y'"},
      {"Configuration", "Lone", "\""},
      {"Configuration", "Empty", ""},
      {"Configuration", "NoEquals", ""},
      {"Configuration", "; Comment", "<default>"},
      {"Configuration", ";Indented", "<default>"},
      {"Configuration", "Second", "<default>"},  // only the first section of a name counts
      {"Configuration", "loose", "<default>"},
      {"other", "key", "a = b"},
      {"Missing", "DownloadMode", "<default>"},
      {"Configuration", "Missing", "<default>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(profile.ReadString(c.section, c.key, "<default>"), c.expected)
        << c.section << "/" << c.key;
  }
  EXPECT_EQ(profile.ReadInt("configuration", "downloadmode", 7), 2);
  EXPECT_EQ(profile.ReadInt("configuration", "double", 7), 7);
}

TEST(PrivateProfileRead, LineEndsAndByteOrderMarks) {
  const std::string variants[] = {
      "[S]\r\nA=1\r\nB=two\r\nC=3\r\n",
      "[S]\nA=1\nB=two\nC=3",
      "[S]\rA=1\rB=two\rC=3\r",
      "[S]\nA=1\r\nB=two\rC=3\n",
      "\xEF\xBB\xBF[S]\r\nA=1\r\nB=two\r\nC=3\r\n",
      Utf16LeWithBom(u"[S]\r\nA=1\r\nB=two\r\nC=3"),
  };
  for (const std::string& bytes : variants) {
    const ProfileSnapshot profile = ProfileSnapshot::Parse(bytes);
    EXPECT_EQ(profile.ReadInt("S", "A", 0), 1) << bytes;
    EXPECT_EQ(profile.ReadString("S", "B", ""), "two") << bytes;
    EXPECT_EQ(profile.ReadInt("S", "C", 0), 3) << bytes;
  }
}

TEST(PrivateProfileRead, Utf16TextBecomesUtf8) {
  // ü and € are one unit each, the clef a surrogate pair.
  const std::string bytes = Utf16LeWithBom(u"[S]\nName=M\u00FCller \u20AC\U0001D11E");
  EXPECT_EQ(ProfileSnapshot::Parse(bytes).ReadString("s", "name", ""),
            "M\xC3\xBCller \xE2\x82\xAC\xF0\x9D\x84\x9E");
}

TEST(PrivateProfileRead, ValuesAreCutAt2047Characters) {
  const std::string longValue(3000, 'a');
  const std::string wideValue = std::string(2046, 'x') + "\xC3\xBC" + "y";
  const ProfileSnapshot profile =
      ProfileSnapshot::Parse("[S]\nLong=" + longValue + "\nWide=\"" + wideValue + "\"\n");
  EXPECT_EQ(profile.ReadString("S", "Long", ""), std::string(2047, 'a'));
  // Characters, not bytes, are counted; the quotes go before the cut.
  EXPECT_EQ(profile.ReadString("S", "Wide", ""), wideValue.substr(0, 2048));
}

TEST(PrivateProfileRead, MissingOrUnreadableFileGivesDefaults) {
  const TempFolder folder;
  EXPECT_EQ(ReadProfileInt(folder.path() + "/none.ini", "S", "K", 5), 5);
  EXPECT_EQ(ReadProfileString(folder.path(), "S", "K", "dflt"), "dflt");  // a folder
  int error = 0;
  EXPECT_FALSE(ProfileSnapshot::TryLoad(folder.path() + "/none.ini", error));
  EXPECT_EQ(error, ENOENT);
  const std::string path = folder.Write("set.ini", "[S]\nK=12\n");
  EXPECT_EQ(ReadProfileInt(path, "s", "k", 5), 12);
}

TEST(PrivateProfileInt, IntegerRule) {
  struct Case {
    std::string_view text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"+7", 7},
      {"-13", -13},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"0x1F", 31},
      {"0Xab", 171},
      {"0xFFFFFFFF", -1},
      {"0x100000000", std::nullopt},
      {"0x", std::nullopt},
      {"-0x10", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"0x1G", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"1.5", std::nullopt},
      {"$10", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseProfileInt(c.text), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace tdxx
