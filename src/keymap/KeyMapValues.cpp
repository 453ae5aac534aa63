#include "keymap/KeyMapValues.h"

namespace tdxx {
namespace {

constexpr const char* kModeNames[2] = {"L1_MacroMode", "L2_MacroMode"};
constexpr const char* kAutoRepeatNames[2] = {"L1_AutoRepeat", "L2_AutoRepeat"};
constexpr const char* kCodesNames[2] = {"Level_1_Codes", "Level_2_Codes"};

void AddEdit(std::vector<ProfileEdit>& edits, const std::string& section, const char* key,
             const ProfileValueText& from, const ProfileValueText& to) {
  if (from == to) {
    return;
  }
  edits.push_back({section, key, to.value_or("")});
}

}  // namespace

KeyMapValues ValuesFromDiagnostics(const KeyDefinitionDiagnostics& diagnostics) {
  KeyMapValues values;
  values.globals = diagnostics.globals;
  for (std::size_t k = 0; k < kKeyTableSize; ++k) {
    const KeyReading& reading = diagnostics.keys[k];
    KeyValues& key = values.keys[k];
    key.keyType = reading.keyType;
    for (std::size_t l = 0; l < 2; ++l) {
      key.levels[l].mode = reading.levels[l].mode;
      key.levels[l].autoRepeat = reading.levels[l].autoRepeat;
      key.levels[l].codes = reading.levels[l].codes;
    }
  }
  return values;
}

std::vector<ProfileEdit> EditsBetween(const KeyMapValues& from, const KeyMapValues& to) {
  std::vector<ProfileEdit> edits;
  const auto& names = KeyDefinitionGlobalNames();
  for (std::size_t g = 0; g < kGlobalValueCount; ++g) {
    AddEdit(edits, "GLOBAL_PARAMETERS", names[g], from.globals[g], to.globals[g]);
  }
  for (std::size_t k = 0; k < kKeyTableSize; ++k) {
    const std::string section = KeySectionName(k);
    const KeyValues& a = from.keys[k];
    const KeyValues& b = to.keys[k];
    for (std::size_t l = 0; l < 2; ++l) {
      AddEdit(edits, section, kModeNames[l], a.levels[l].mode, b.levels[l].mode);
      AddEdit(edits, section, kAutoRepeatNames[l], a.levels[l].autoRepeat, b.levels[l].autoRepeat);
      AddEdit(edits, section, kCodesNames[l], a.levels[l].codes, b.levels[l].codes);
    }
    AddEdit(edits, section, "KeyType", a.keyType, b.keyType);
  }
  return edits;
}

std::string KeySectionName(std::size_t key) {
  return "KEY" + std::to_string(key);
}

std::int32_t IntegerValue(const ProfileValueText& text, std::int32_t defaultValue) {
  return text ? ParseProfileInt(*text).value_or(defaultValue) : defaultValue;
}

}  // namespace tdxx
