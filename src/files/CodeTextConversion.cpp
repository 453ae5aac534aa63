#include <algorithm>

#include "files/KeyDefinitionReader.h"
#include "files/KeyLevelLayout.h"

namespace tdxx {
namespace {

// Digit value of a code-text character. Characters count as signed 8-bit values, so one of 0x80
// or above is "not above '9'"; everything above '9' is taken as a lowercase letter digit. The
// keypads' files have always been read this way, uppercase and stray characters included.
int CodeDigitValue(char c) {
  const int value = static_cast<signed char>(c);
  return value > '9' ? value - 0x57 : value - 0x30;
}

}  // namespace

std::uint8_t HexPairToCode(char first, char second) {
  auto code = static_cast<std::uint8_t>(CodeDigitValue(first) * 16 + CodeDigitValue(second));
  if (code == 0xF0) {
    code = 0xE3;  // the release prefix has its own stored value
  }
  return code > 0xE4 ? 0 : code;
}

CodeTextOutcome ConvertCodeText(KeyRecord& record, int level, std::string_view text, int capacity) {
  CodeTextOutcome outcome;
  if (level != 1 && level != 2) {
    return outcome;
  }
  const KeyLevelLayout& layout = level == 1 ? kLevel1Layout : kLevel2Layout;
  // Never more codes than the level's area holds, whatever the caller asks for.
  const auto limit =
      static_cast<std::size_t>(std::clamp(capacity, 0, static_cast<int>(layout.codesSize)));
  record.bytes[layout.length] = 0;
  for (std::size_t i = 0; i < limit; ++i) {
    if (2 * i + 1 >= text.size()) {
      // The text ended (a last unpaired character is ignored): it is taken as it stands.
      if (i > 0) {
        record.bytes[layout.length] = static_cast<std::uint8_t>(i + 1);
      }
      outcome.unpairedIgnored = 2 * i < text.size();
      return outcome;
    }
    const std::uint8_t code = HexPairToCode(text[2 * i], text[2 * i + 1]);
    if (code == 0) {
      // A rejected pair costs the whole level: the codes written so far are not counted.
      outcome.stop = CodeTextStop::kRejectedPair;
      outcome.pairIndex = i;
      outcome.first = text[2 * i];
      outcome.second = text[2 * i + 1];
      return outcome;
    }
    record.bytes[layout.codes + i] = code;
    outcome.codesWritten = i + 1;
  }
  // The capacity was reached before the text ended: too long to keep.
  outcome.stop = CodeTextStop::kCapacity;
  return outcome;
}

}  // namespace tdxx
