#include "files/ModifierPatternTable.h"

#include <array>

namespace tdxx {
namespace {

constexpr std::array<ModifierPattern, 12> kModifierPatterns{{
    {"12f012", {0x12, 0x00}, 1},
    {"14f014", {0x14, 0x00}, 1},
    {"e01fe0f01f", {0xE0, 0x1F}, 2},
    {"11f011", {0x11, 0x00}, 1},
    {"e011e0f011", {0xE0, 0x11}, 2},
    {"e027e0f027", {0xE0, 0x27}, 2},
    {"e014e0f014", {0xE0, 0x14}, 2},
    {"59f059", {0x59, 0x00}, 1},
    {"e011", {0xE0, 0x11}, 2},
    {"e014", {0xE0, 0x14}, 2},
    {"e01f", {0xE0, 0x1F}, 2},
    {"e027", {0xE0, 0x27}, 2},
}};

}  // namespace

const ModifierPattern* FindModifierPattern(std::string_view codeText) {
  for (const ModifierPattern& pattern : kModifierPatterns) {
    if (pattern.text == codeText) {
      return &pattern;
    }
  }
  return nullptr;
}

}  // namespace tdxx
