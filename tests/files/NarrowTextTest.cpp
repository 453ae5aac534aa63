#include <gtest/gtest.h>

#include "files/NarrowText.h"

namespace tdxx {
namespace {

TEST(NarrowText, WellFormedUtf8StaysAndStrayBytesShowAsLatin1) {
  struct Case {
    std::string narrow;
    std::string shown;
  };
  const Case cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},                // é: kept
      {"\xE2\x82\xAC", "\xE2\x82\xAC"},                          // €: kept
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                  // a four-byte character: kept
      {"v\x81", "v\xC2\x81"},                                    // a lone continuation byte
      {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},                        // Latin-1 é in a device reply
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},                          // overlong form
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},              // a surrogate
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // above U+10FFFF
      {"\xE2\x82", "\xC3\xA2\xC2\x82"},                          // cut off at the end
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NarrowToDisplayUtf8(c.narrow), c.shown) << c.narrow;
  }
}

TEST(NarrowText, EveryLineBreakBecomesOneLineFeed) {
  EXPECT_EQ(NarrowToDisplayLines("a\r\nb\rc\nd\r\n\r\ne\r"), "a\nb\nc\nd\n\ne\n");
  EXPECT_EQ(NarrowToDisplayLines("\r\n Keypad Version : \x81"), "\n Keypad Version : \xC2\x81");
}

}  // namespace
}  // namespace tdxx
