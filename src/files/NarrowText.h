#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tdxx {

// Narrow texts (log lines, panel texts, device replies) are UTF-8 on Linux, but device replies
// and file headers can hold any byte. For display, every well-formed UTF-8 sequence is kept and
// every byte that is not part of one stands for its Latin-1 character. The result is valid UTF-8.
std::string NarrowToDisplayUtf8(std::string_view narrow);

// The same, with every line break made one '\n': a CR LF pair, a lone CR and a lone LF.
std::string NarrowToDisplayLines(std::string_view narrow);

// What a UTF-8 lead byte announces: the length of its sequence (0 for a byte that cannot start
// one, 1 for ASCII) and the range its second byte must fall in, which rules out overlong forms,
// surrogates and values above U+10FFFF.
struct Utf8Lead {
  std::size_t length = 0;
  std::uint8_t secondMin = 0x80;
  std::uint8_t secondMax = 0xBF;
};
Utf8Lead DescribeUtf8Lead(std::uint8_t lead);

inline bool IsUtf8Continuation(std::uint8_t byte) {
  return byte >= 0x80 && byte <= 0xBF;
}

}  // namespace tdxx
