#pragma once

#include <cstdint>
#include <string_view>

namespace tdxx {

// The press-and-release sequences, and the bare extended press codes, of the eight modifier keys
// of scan code set 2. A code text equal to one of them (exactly, case included) is stored as the
// key's press code alone.
struct ModifierPattern {
  std::string_view text;
  std::uint8_t codes[2];
  std::uint8_t codeCount;
};

// The row whose text equals `codeText`, or null.
const ModifierPattern* FindModifierPattern(std::string_view codeText);

}  // namespace tdxx
