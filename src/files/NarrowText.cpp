#include "files/NarrowText.h"

namespace tdxx {

namespace {

// Length of the well-formed UTF-8 sequence starting at `pos`, or 0 when the byte there does not
// start one.
std::size_t WellFormedSequenceLength(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const Utf8Lead lead = DescribeUtf8Lead(byte(pos));
  if (lead.length <= 1)
    return lead.length;
  if (pos + lead.length > text.size())
    return 0;
  if (byte(pos + 1) < lead.secondMin || byte(pos + 1) > lead.secondMax)
    return 0;
  for (std::size_t i = 2; i < lead.length; ++i) {
    if (!IsUtf8Continuation(byte(pos + i)))
      return 0;
  }
  return lead.length;
}

}  // namespace

Utf8Lead DescribeUtf8Lead(std::uint8_t lead) {
  Utf8Lead info;
  if (lead < 0x80) {
    info.length = 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
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

std::string NarrowToDisplayUtf8(std::string_view narrow) {
  std::string out;
  out.reserve(narrow.size());
  std::size_t pos = 0;
  while (pos < narrow.size()) {
    const std::size_t length = WellFormedSequenceLength(narrow, pos);
    if (length > 0) {
      out.append(narrow.substr(pos, length));
      pos += length;
      continue;
    }
    // A stray byte: its Latin-1 character, U+0080 to U+00FF, as two UTF-8 bytes.
    const auto b = static_cast<std::uint8_t>(narrow[pos]);
    out.push_back(static_cast<char>(0xC0 | (b >> 6)));
    out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    ++pos;
  }
  return out;
}

std::string NarrowToDisplayLines(std::string_view narrow) {
  std::string unified;
  unified.reserve(narrow.size());
  for (std::size_t i = 0; i < narrow.size(); ++i) {
    if (narrow[i] == '\r') {
      unified.push_back('\n');
      if (i + 1 < narrow.size() && narrow[i + 1] == '\n')
        ++i;
    } else {
      unified.push_back(narrow[i]);
    }
  }
  // Line ends are ASCII and never part of a multi-byte sequence, so unifying them first does not
  // change how the other bytes decode.
  return NarrowToDisplayUtf8(unified);
}

}  // namespace tdxx
