#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tdxx {

// A settings file as lines of UTF-8 text, with enough kept about its bytes (encoding, every
// line's own line end) to write it back unchanged except where a value was replaced.
struct ProfileText {
  enum class Encoding { kUtf8, kUtf8WithBom, kUtf16LeWithBom };
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r", or empty for a last line without one
  };

  Encoding encoding = Encoding::kUtf8;
  std::vector<Line> lines;
  std::string oddTrailingByte;  // a UTF-16 file of odd length keeps its last byte here

  static ProfileText Decode(std::string_view fileBytes);
  std::string Encode() const;

  // The line end new lines should use: the first one the file has, else CR LF.
  std::string_view PreferredLineEnd() const;
};

// What one line of a settings file holds. Names and values are trimmed of blanks; a value keeps
// its quotes here (readers drop them, writers keep lines as they were).
struct ProfileLine {
  enum class Kind { kOther, kSection, kEntry };
  Kind kind = Kind::kOther;  // kOther: blank line or comment
  std::string_view name;     // the section's or entry's name
  std::string_view value;    // an entry's value
};
ProfileLine ClassifyProfileLine(std::string_view line);

// `text` without the blanks (space, tab, vertical tab, form feed) at either end.
std::string_view TrimBlanks(std::string_view text);

// Texts compared the way section and key names are: ASCII letters without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tdxx
