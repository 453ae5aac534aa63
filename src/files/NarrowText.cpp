#include "files/NarrowText.h"

#include <cstddef>
#include <cstdint>

namespace tdxx {

namespace {

// Length of the well-formed UTF-8 sequence starting at `pos`, or 0 when the byte there does not
// start one (overlong forms, surrogates and values above U+10FFFF are not well formed).
std::size_t WellFormedSequenceLength(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(pos);
  if (lead < 0x80)
    return 1;
  std::size_t length = 0;
  std::uint8_t secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0)
      secondMin = 0xA0;
    if (lead == 0xED)
      secondMax = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0)
      secondMin = 0x90;
    if (lead == 0xF4)
      secondMax = 0x8F;
  } else {
    return 0;
  }
  if (pos + length > text.size())
    return 0;
  if (byte(pos + 1) < secondMin || byte(pos + 1) > secondMax)
    return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF)
      return 0;
  }
  return length;
}

}  // namespace

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

}  // namespace tdxx
