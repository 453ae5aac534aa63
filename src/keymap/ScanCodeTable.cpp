#include "keymap/ScanCodeTable.h"

#include <array>

namespace tdxx {
namespace {

using G = KeyGroup;

// Make codes of scan code set 2 with the Linux input-event code of the same key (the kernel's
// set-2 keyboard map); the names are this program's. Extended keys come behind E0.
constexpr ScanCodeKey kKeys[] = {
    {"A", false, 0x1C, 30, G::kLetter},
    {"B", false, 0x32, 48, G::kLetter},
    {"C", false, 0x21, 46, G::kLetter},
    {"D", false, 0x23, 32, G::kLetter},
    {"E", false, 0x24, 18, G::kLetter},
    {"F", false, 0x2B, 33, G::kLetter},
    {"G", false, 0x34, 34, G::kLetter},
    {"H", false, 0x33, 35, G::kLetter},
    {"I", false, 0x43, 23, G::kLetter},
    {"J", false, 0x3B, 36, G::kLetter},
    {"K", false, 0x42, 37, G::kLetter},
    {"L", false, 0x4B, 38, G::kLetter},
    {"M", false, 0x3A, 50, G::kLetter},
    {"N", false, 0x31, 49, G::kLetter},
    {"O", false, 0x44, 24, G::kLetter},
    {"P", false, 0x4D, 25, G::kLetter},
    {"Q", false, 0x15, 16, G::kLetter},
    {"R", false, 0x2D, 19, G::kLetter},
    {"S", false, 0x1B, 31, G::kLetter},
    {"T", false, 0x2C, 20, G::kLetter},
    {"U", false, 0x3C, 22, G::kLetter},
    {"V", false, 0x2A, 47, G::kLetter},
    {"W", false, 0x1D, 17, G::kLetter},
    {"X", false, 0x22, 45, G::kLetter},
    {"Y", false, 0x35, 21, G::kLetter},
    {"Z", false, 0x1A, 44, G::kLetter},
    {"1", false, 0x16, 2, G::kDigit},
    {"2", false, 0x1E, 3, G::kDigit},
    {"3", false, 0x26, 4, G::kDigit},
    {"4", false, 0x25, 5, G::kDigit},
    {"5", false, 0x2E, 6, G::kDigit},
    {"6", false, 0x36, 7, G::kDigit},
    {"7", false, 0x3D, 8, G::kDigit},
    {"8", false, 0x3E, 9, G::kDigit},
    {"9", false, 0x46, 10, G::kDigit},
    {"0", false, 0x45, 11, G::kDigit},
    {"`", false, 0x0E, 41, G::kPunctuation},
    {"-", false, 0x4E, 12, G::kPunctuation},
    {"=", false, 0x55, 13, G::kPunctuation},
    {"[", false, 0x54, 26, G::kPunctuation},
    {"]", false, 0x5B, 27, G::kPunctuation},
    {"\\", false, 0x5D, 43, G::kPunctuation},
    {";", false, 0x4C, 39, G::kPunctuation},
    {"'", false, 0x52, 40, G::kPunctuation},
    {",", false, 0x41, 51, G::kPunctuation},
    {".", false, 0x49, 52, G::kPunctuation},
    {"/", false, 0x4A, 53, G::kPunctuation},
    {"ISO\\", false, 0x61, 86, G::kPunctuation},  // the extra key of ISO keyboards
    {"Space", false, 0x29, 57, G::kEditing},
    {"Enter", false, 0x5A, 28, G::kEditing},
    {"Tab", false, 0x0D, 15, G::kEditing},
    {"Backspace", false, 0x66, 14, G::kEditing},
    {"Escape", false, 0x76, 1, G::kEditing},
    {"CapsLock", false, 0x58, 58, G::kEditing},
    {"F1", false, 0x05, 59, G::kFunction},
    {"F2", false, 0x06, 60, G::kFunction},
    {"F3", false, 0x04, 61, G::kFunction},
    {"F4", false, 0x0C, 62, G::kFunction},
    {"F5", false, 0x03, 63, G::kFunction},
    {"F6", false, 0x0B, 64, G::kFunction},
    {"F7", false, 0x83, 65, G::kFunction},
    {"F8", false, 0x0A, 66, G::kFunction},
    {"F9", false, 0x01, 67, G::kFunction},
    {"F10", false, 0x09, 68, G::kFunction},
    {"F11", false, 0x78, 87, G::kFunction},
    {"F12", false, 0x07, 88, G::kFunction},
    {"F13", false, 0x08, 183, G::kFunction},
    {"F14", false, 0x10, 184, G::kFunction},
    {"F15", false, 0x18, 185, G::kFunction},
    {"F16", false, 0x20, 186, G::kFunction},
    {"F17", false, 0x28, 187, G::kFunction},
    {"F18", false, 0x30, 188, G::kFunction},
    {"F19", false, 0x38, 189, G::kFunction},
    {"F20", false, 0x40, 190, G::kFunction},
    {"F21", false, 0x48, 191, G::kFunction},
    {"F22", false, 0x50, 192, G::kFunction},
    {"F23", false, 0x57, 193, G::kFunction},
    {"F24", false, 0x5F, 194, G::kFunction},
    {"LShift", false, 0x12, 42, G::kModifier},
    {"RShift", false, 0x59, 54, G::kModifier},
    {"LCtrl", false, 0x14, 29, G::kModifier},
    {"RCtrl", true, 0x14, 97, G::kModifier},
    {"LAlt", false, 0x11, 56, G::kModifier},
    {"RAlt", true, 0x11, 100, G::kModifier},
    {"LWin", true, 0x1F, 125, G::kModifier},
    {"RWin", true, 0x27, 126, G::kModifier},
    {"Menu", true, 0x2F, 127, G::kModifier},
    {"Insert", true, 0x70, 110, G::kNavigation},
    {"Delete", true, 0x71, 111, G::kNavigation},
    {"Home", true, 0x6C, 102, G::kNavigation},
    {"End", true, 0x69, 107, G::kNavigation},
    {"PageUp", true, 0x7D, 104, G::kNavigation},
    {"PageDown", true, 0x7A, 109, G::kNavigation},
    {"Up", true, 0x75, 103, G::kNavigation},
    {"Down", true, 0x72, 108, G::kNavigation},
    {"Left", true, 0x6B, 105, G::kNavigation},
    {"Right", true, 0x74, 106, G::kNavigation},
    {"PrintScreen", true, 0x7C, 99, G::kSystem},
    {"ScrollLock", false, 0x7E, 70, G::kSystem},
    {"Pause", false, 0x14, 119, G::kSystem},  // behind its own prefix E1, see kPausePrefix
    {"NumLock", false, 0x77, 69, G::kKeypad},
    {"KP/", true, 0x4A, 98, G::kKeypad},
    {"KP*", false, 0x7C, 55, G::kKeypad},
    {"KP-", false, 0x7B, 74, G::kKeypad},
    {"KP+", false, 0x79, 78, G::kKeypad},
    {"KPEnter", true, 0x5A, 96, G::kKeypad},
    {"KP.", false, 0x71, 83, G::kKeypad},
    {"KP0", false, 0x70, 82, G::kKeypad},
    {"KP1", false, 0x69, 79, G::kKeypad},
    {"KP2", false, 0x72, 80, G::kKeypad},
    {"KP3", false, 0x7A, 81, G::kKeypad},
    {"KP4", false, 0x6B, 75, G::kKeypad},
    {"KP5", false, 0x73, 76, G::kKeypad},
    {"KP6", false, 0x74, 77, G::kKeypad},
    {"KP7", false, 0x6C, 71, G::kKeypad},
    {"KP8", false, 0x75, 72, G::kKeypad},
    {"KP9", false, 0x7D, 73, G::kKeypad},
    {"Mute", true, 0x23, 113, G::kMedia},
    {"VolumeDown", true, 0x21, 114, G::kMedia},
    {"VolumeUp", true, 0x32, 115, G::kMedia},
    {"PlayPause", true, 0x34, 164, G::kMedia},
    {"Stop", true, 0x3B, 166, G::kMedia},
    {"PreviousTrack", true, 0x15, 165, G::kMedia},
    {"NextTrack", true, 0x4D, 163, G::kMedia},
    {"MediaSelect", true, 0x50, 226, G::kMedia},
    {"Mail", true, 0x48, 155, G::kMedia},
    {"Calculator", true, 0x2B, 140, G::kMedia},
    {"MyComputer", true, 0x40, 157, G::kMedia},
    {"WebSearch", true, 0x10, 217, G::kMedia},
    {"WebHome", true, 0x3A, 172, G::kMedia},
    {"WebBack", true, 0x38, 158, G::kMedia},
    {"WebForward", true, 0x30, 159, G::kMedia},
    {"WebStop", true, 0x28, 128, G::kMedia},
    {"WebRefresh", true, 0x20, 173, G::kMedia},
    {"WebFavorites", true, 0x18, 156, G::kMedia},
    {"Power", true, 0x37, 116, G::kSystem},
    {"Sleep", true, 0x3F, 142, G::kSystem},
    {"Wake", true, 0x5E, 143, G::kSystem},
};

struct Alias {
  std::string_view alias;
  std::string_view name;
};
constexpr Alias kAliases[] = {
    {"Ctrl", "LCtrl"},    {"Control", "LCtrl"},  {"Shift", "LShift"},
    {"Alt", "LAlt"},      {"AltGr", "RAlt"},     {"Win", "LWin"},
    {"Super", "LWin"},    {"Meta", "LWin"},      {"Esc", "Escape"},
    {"Return", "Enter"},  {"Del", "Delete"},     {"Ins", "Insert"},
    {"PgUp", "PageUp"},   {"PgDn", "PageDown"},  {"PrtSc", "PrintScreen"},
    {"Break", "Pause"},   {"Grave", "`"},        {"Minus", "-"},
    {"Equal", "="},       {"Comma", ","},        {"Period", "."},
    {"Dot", "."},         {"Slash", "/"},        {"Backslash", "\\"},
    {"Semicolon", ";"},   {"Apostrophe", "'"},   {"Quote", "'"},
    {"LeftBracket", "["}, {"RightBracket", "]"}, {"Application", "Menu"},
    {"Caps", "CapsLock"}, {"Bksp", "Backspace"},
};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) {
      return false;
    }
  }
  return true;
}

// Keys by make code, extended or not, for the look-ups every shown event makes.
struct CodeIndex {
  const ScanCodeKey* byCode[2][256] = {};
  CodeIndex() {
    for (const ScanCodeKey& key : kKeys) {
      // Pause shares its code with LCtrl behind a prefix of its own; LCtrl comes first.
      if (byCode[key.extended ? 1 : 0][key.code] == nullptr && key.name != "Pause")
        byCode[key.extended ? 1 : 0][key.code] = &key;
    }
  }
};

}  // namespace

std::span<const ScanCodeKey> AllScanCodeKeys() {
  return kKeys;
}

const ScanCodeKey* FindKeyByCode(bool extended, std::uint8_t code) {
  static const CodeIndex index;
  return index.byCode[extended ? 1 : 0][code];
}

const ScanCodeKey* FindKeyByName(std::string_view name) {
  for (const Alias& alias : kAliases) {
    if (SameName(alias.alias, name)) {
      name = alias.name;
      break;
    }
  }
  for (const ScanCodeKey& key : kKeys) {
    if (SameName(key.name, name)) {
      return &key;
    }
  }
  return nullptr;
}

const ScanCodeKey* FindKeyByEvdev(std::uint16_t evdev) {
  for (const ScanCodeKey& key : kKeys) {
    if (key.evdev == evdev) {
      return &key;
    }
  }
  return nullptr;
}

bool IsModifierKey(const ScanCodeKey& key) {
  return key.group == KeyGroup::kModifier && key.name != "Menu";
}

std::string_view ChordName(const ScanCodeKey& key) {
  if (key.name == "LCtrl")
    return "Ctrl";
  if (key.name == "LShift")
    return "Shift";
  if (key.name == "LAlt")
    return "Alt";
  if (key.name == "LWin")
    return "Win";
  return key.name;
}

}  // namespace tdxx
