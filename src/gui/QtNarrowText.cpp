#include "gui/QtNarrowText.h"

#include <cstdint>

#include "files/NarrowText.h"

namespace tdxx {

namespace {

std::uint8_t ByteAt(std::string_view text, std::size_t i) {
  return static_cast<std::uint8_t>(text[i]);
}

}  // namespace

std::size_t ProvisionalTailLength(std::string_view narrow) {
  const std::size_t size = narrow.size();
  if (size == 0)
    return 0;
  if (narrow.back() == '\r')
    return 1;
  // Look back past continuation bytes for the lead byte of a sequence that the end cut off.
  // A lead byte always starts a sequence of its own (no well-formed sequence holds one after its
  // first byte), so where the decoder stands there does not depend on the bytes before it.
  for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
    const std::size_t pos = size - back;
    const std::uint8_t byte = ByteAt(narrow, pos);
    if (IsUtf8Continuation(byte))
      continue;
    const Utf8Lead lead = DescribeUtf8Lead(byte);
    if (lead.length <= back)
      return 0;  // not a lead byte, or its sequence is complete (or broken) already
    if (back >= 2) {
      const std::uint8_t second = ByteAt(narrow, pos + 1);
      if (second < lead.secondMin || second > lead.secondMax)
        return 0;  // broken for good: no later byte can mend it
    }
    return back;
  }
  return 0;
}

QString DisplayText(std::string_view narrow) {
  const std::string utf8 = NarrowToDisplayLines(narrow);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

DisplayTextStream::Piece DisplayTextStream::Append(std::string_view narrow) {
  // Every provisional byte was shown as one character: a CR as a line break, each byte of a
  // cut-off sequence as its Latin-1 character.
  Piece piece;
  piece.takeBack = static_cast<int>(pending_.size());
  std::string text = pending_;
  text.append(narrow);
  piece.text = DisplayText(text);
  pending_ = text.substr(text.size() - ProvisionalTailLength(text));
  return piece;
}

}  // namespace tdxx
