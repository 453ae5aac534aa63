#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "files/KeyDefinitionDiagnostics.h"
#include "files/PrivateProfile.h"

namespace tdxx {

// The values of a CKD file as texts, exactly as the reader found them (nothing: the file does
// not hold the value, so the reader takes its default). Editing changes these; saving writes
// the ones that differ from the file.
struct LevelValues {
  ProfileValueText mode;
  ProfileValueText autoRepeat;
  ProfileValueText codes;
  bool operator==(const LevelValues&) const = default;
};

struct KeyValues {
  ProfileValueText keyType;
  std::array<LevelValues, 2> levels;  // level 1, level 2
  bool operator==(const KeyValues&) const = default;
};

struct KeyMapValues {
  std::array<ProfileValueText, kGlobalValueCount> globals;
  std::array<KeyValues, kKeyTableSize> keys;
  bool operator==(const KeyMapValues&) const = default;
};

// The values the reader reported.
KeyMapValues ValuesFromDiagnostics(const KeyDefinitionDiagnostics& diagnostics);

// The writes that turn a file holding `from` into one holding `to`: one per value whose text
// differs (a value removed in `to` is written empty, which reads as its default).
std::vector<ProfileEdit> EditsBetween(const KeyMapValues& from, const KeyMapValues& to);

// Section name of a key: "KEY0" to "KEY65".
std::string KeySectionName(std::size_t key);

// An integer value as the reader takes it (its default when missing or not a number).
std::int32_t IntegerValue(const ProfileValueText& text, std::int32_t defaultValue);

}  // namespace tdxx
