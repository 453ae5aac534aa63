#include "app/QtNarrowText.h"

#include <cstdint>

#include "files/NarrowText.h"

namespace tdxx {

namespace {

std::uint8_t ByteAt(std::string_view text, std::size_t i) {
  return static_cast<std::uint8_t>(text[i]);
}

// Length of the sequence a lead byte announces, 0 for a byte that cannot start one, and the
// range its second byte must fall in (overlong forms, surrogates and values above U+10FFFF are
// not well formed).
struct LeadInfo {
  std::size_t length = 0;
  std::uint8_t secondMin = 0x80;
  std::uint8_t secondMax = 0xBF;
};

LeadInfo DescribeLead(std::uint8_t lead) {
  LeadInfo info;
  if (lead >= 0xC2 && lead <= 0xDF) {
    info.length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    info.length = 3;
    if (lead == 0xE0)
      info.secondMin = 0xA0;
    if (lead == 0xED)
      info.secondMax = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    info.length = 4;
    if (lead == 0xF0)
      info.secondMin = 0x90;
    if (lead == 0xF4)
      info.secondMax = 0x8F;
  }
  return info;
}

bool IsContinuation(std::uint8_t byte) {
  return byte >= 0x80 && byte <= 0xBF;
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
    if (IsContinuation(byte))
      continue;
    const LeadInfo lead = DescribeLead(byte);
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
  std::string unified;
  unified.reserve(narrow.size());
  for (std::size_t i = 0; i < narrow.size(); ++i) {
    const char c = narrow[i];
    if (c == '\r') {
      unified.push_back('\n');
      if (i + 1 < narrow.size() && narrow[i + 1] == '\n')
        ++i;
    } else {
      unified.push_back(c);
    }
  }
  // Line ends are ASCII and never part of a multi-byte sequence, so unifying them first does
  // not change how the other bytes decode.
  const std::string utf8 = NarrowToDisplayUtf8(unified);
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
