#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tdxx {

// How the windows show the program's narrow texts. Narrow texts are UTF-8; a byte that is not
// part of a well-formed sequence shows as its Latin-1 character. CR LF is one line break, and a
// lone CR or a lone LF is a line break too. The result uses '\n' for every line break.
QString DisplayText(std::string_view narrow);

// The same conversion for a text that only ever grows, such as the progress log, without
// converting the whole text again on every append. Showing the pieces one after the other gives
// exactly DisplayText of the whole text: the last few bytes of a piece (a CR that a following LF
// would join, or the start of a UTF-8 sequence cut off at the end) are shown provisionally and
// taken back when the next piece arrives.
class DisplayTextStream {
 public:
  struct Piece {
    int takeBack = 0;  // characters at the end of what is shown to remove first
    QString text;      // then append this
  };

  Piece Append(std::string_view narrow);

 private:
  std::string pending_;  // the provisional bytes at the end, one shown character each
};

// Number of bytes at the end of `narrow` whose display can still change when more bytes follow:
// 1 for a final CR, the length of a cut-off UTF-8 sequence (at most 3), else 0.
std::size_t ProvisionalTailLength(std::string_view narrow);

}  // namespace tdxx
