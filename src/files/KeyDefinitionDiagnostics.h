#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "files/KeyTable.h"

namespace tdxx {

// How the conversion of one code text ended.
enum class CodeTextStop {
  kEnded,         // the text ended; its codes are counted (none for an empty text)
  kCapacity,      // the level's room was used up before the text ended: length 0
  kRejectedPair,  // a pair gave no code (00, above e4, not hexadecimal): length 0
};

struct CodeTextOutcome {
  CodeTextStop stop = CodeTextStop::kEnded;
  std::size_t codesWritten = 0;  // codes written to the area, counted or not
  std::size_t pairIndex = 0;     // kRejectedPair: 0-based index of the rejected pair
  char first = 0;                // kRejectedPair: its two characters
  char second = 0;
  bool unpairedIgnored = false;  // an odd last character was ignored
};

// One value as the reader found it: its text, or nothing when the file does not hold it.
using ProfileValueText = std::optional<std::string>;

struct LevelReading {
  ProfileValueText mode;        // L1_MacroMode / L2_MacroMode
  ProfileValueText autoRepeat;  // L1_AutoRepeat / L2_AutoRepeat
  ProfileValueText codes;       // Level_1_Codes / Level_2_Codes, as read (at most 2047 chars)
  std::int32_t modeValue = 0;
  int capacity = 0;              // the capacity handed to the conversion (224 or 112)
  bool modifierPattern = false;  // stored through the modifier pattern table
  bool cutToMaximum = false;     // the text was longer than the reader takes (1023 characters)
  CodeTextOutcome conversion;    // for a text that was converted
};

struct KeyReading {
  bool sectionPresent = false;
  ProfileValueText keyType;
  std::int32_t keyTypeValue = 0;
  bool keyTypeIgnored = false;  // KeyType 1 or 2 with both of its slots already taken
  std::array<LevelReading, 2> levels;
};

// The global values in the order of KeyDefinitionGlobalNames().
inline constexpr std::size_t kGlobalValueCount = 8;
inline constexpr std::size_t kGlobalNumberOfKeys = 0;
inline constexpr std::size_t kGlobalModelNumber = 1;
inline constexpr std::size_t kGlobalCharacterPacing = 2;
inline constexpr std::size_t kGlobalKeyRollOver = 3;
inline constexpr std::size_t kGlobalLedFunction = 4;
inline constexpr std::size_t kGlobalLed2Function = 5;
inline constexpr std::size_t kGlobalLed3Function = 6;
inline constexpr std::size_t kGlobalUsbDeviceType = 7;

// Everything the reader found besides the images: every value's text, and where a value did not
// reach the images as written. Filled by the same pass that fills the images.
struct KeyDefinitionDiagnostics {
  bool fileRead = false;  // false: the file could not be read; nothing below is filled
  std::array<ProfileValueText, kGlobalValueCount> globals;
  std::int32_t numberOfKeysValue = 0;
  int keyCount = 0;
  std::array<std::int32_t, kGlobalValueCount> globalValues{};  // integers as read (0 for text)
  std::array<KeyReading, kKeyTableSize> keys;
};

// Names of the global values, as the file spells them.
const std::array<const char*, kGlobalValueCount>& KeyDefinitionGlobalNames();
// Default of each global value; Model_Number's is "None".
const std::array<std::int32_t, kGlobalValueCount>& KeyDefinitionGlobalDefaults();
// Offset in the global block of the byte a global value fills; 0 for Number_Of_Keys and
// Model_Number, which the block does not hold.
std::size_t GlobalBlockOffsetOf(std::size_t globalIndex);

}  // namespace tdxx
