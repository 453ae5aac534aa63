#include "keymap/KeyCodeTextInput.h"

#include "files/HexDigit.h"
#include "files/KeyDefinitionReader.h"

namespace tdxx {
namespace {

// What a US layout types with each key, without and with Shift.
struct TypedKey {
  std::string_view name;
  char plain;
  char shifted;
};
constexpr TypedKey kUsLayout[] = {
    {"`", '`', '~'},   {"1", '1', '!'},     {"2", '2', '@'},  {"3", '3', '#'},    {"4", '4', '$'},
    {"5", '5', '%'},   {"6", '6', '^'},     {"7", '7', '&'},  {"8", '8', '*'},    {"9", '9', '('},
    {"0", '0', ')'},   {"-", '-', '_'},     {"=", '=', '+'},  {"[", '[', '{'},    {"]", ']', '}'},
    {"\\", '\\', '|'}, {";", ';', ':'},     {"'", '\'', '"'}, {",", ',', '<'},    {".", '.', '>'},
    {"/", '/', '?'},   {"Space", ' ', ' '}, {"Tab", '\t', 0}, {"Enter", '\n', 0},
};

std::string Hex(std::uint8_t code) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[code >> 4], kDigits[code & 0x0F]};
}

CodeTextResult Ok(std::string codeText) {
  return {true, std::move(codeText), {}};
}

CodeTextResult Error(std::string error) {
  return {false, {}, std::move(error)};
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

// The key and Shift that type `c`; null when a US layout has no key for it.
const ScanCodeKey* KeyForCharacter(char c, bool& shift) {
  if (c >= 'a' && c <= 'z') {
    shift = false;
    return FindKeyByName(std::string_view(&c, 1));
  }
  if (c >= 'A' && c <= 'Z') {
    shift = true;
    return FindKeyByName(std::string_view(&c, 1));
  }
  for (const TypedKey& typed : kUsLayout) {
    if (typed.plain == c || (typed.shifted != 0 && typed.shifted == c)) {
      shift = typed.plain != c;
      return FindKeyByName(typed.name);
    }
  }
  return nullptr;
}

std::string PressCode(const ScanCodeKey& key) {
  return CodeTextFromEvents(
      std::vector<KeyEvent>{{KeyAction::kPress, key.extended, key.code, &key}});
}

std::string ReleaseCode(const ScanCodeKey& key) {
  return CodeTextFromEvents(
      std::vector<KeyEvent>{{KeyAction::kRelease, key.extended, key.code, &key}});
}

}  // namespace

char TypedCharacter(const ScanCodeKey& key, bool shift) {
  if (key.group == KeyGroup::kLetter) {
    return shift ? key.name[0] : static_cast<char>(key.name[0] - 'A' + 'a');
  }
  for (const TypedKey& typed : kUsLayout) {
    if (typed.name == key.name) {
      return shift ? typed.shifted : typed.plain;
    }
  }
  return 0;
}

CodeTextResult CodeTextForTypedText(std::string_view text) {
  if (text.empty()) {
    return Error("no text to type");
  }
  const ScanCodeKey& shiftKey = *FindKeyByName("LShift");
  std::string codes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] == '\r' ? '\n' : text[i];
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      continue;  // CR LF types one Enter
    bool shift = false;
    const ScanCodeKey* key = KeyForCharacter(c, shift);
    if (key == nullptr) {
      const auto byte = static_cast<unsigned char>(c);
      return Error(byte >= 0x20 && byte < 0x7F
                       ? "a US layout has no key for '" + std::string(1, c) + "'"
                       : "a US layout has no key for the character 0x" + Hex(byte));
    }
    if (shift)
      codes += PressCode(shiftKey);
    codes += PressCode(*key) + ReleaseCode(*key);
    if (shift)
      codes += ReleaseCode(shiftKey);
  }
  return Ok(codes);
}

CodeTextResult CodeTextForChord(std::string_view chord) {
  std::string codes;
  chord = Trim(chord);
  if (chord.empty()) {
    return Error("no keys given");
  }
  while (!chord.empty()) {
    const std::size_t blank = chord.find_first_of(" \t");
    const std::string_view one = chord.substr(0, blank);
    chord = blank == std::string_view::npos ? std::string_view() : Trim(chord.substr(blank));

    std::vector<const ScanCodeKey*> keys;
    std::size_t start = 0;
    while (start <= one.size()) {
      std::size_t plus = one.find('+', start);
      // The keypad's plus key is named "KP+": its '+' belongs to the name.
      if (plus != std::string_view::npos && plus - start == 2 &&
          FindKeyByName(one.substr(start, 3)) != nullptr)
        plus = one.find('+', plus + 1);
      if (plus == std::string_view::npos)
        plus = one.size();
      const std::string_view name = one.substr(start, plus - start);
      const ScanCodeKey* key = FindKeyByName(name);
      if (key == nullptr) {
        return Error(name.empty() ? "an empty key name in \"" + std::string(one) + "\""
                                  : "no key is named \"" + std::string(name) + "\"");
      }
      keys.push_back(key);
      start = plus + 1;
    }
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
      if (!IsModifierKey(*keys[k])) {
        return Error("\"" + std::string(keys[k]->name) +
                     "\" is not a modifier (Ctrl, Shift, Alt, Win, left or right)");
      }
    }
    for (std::size_t k = 0; k + 1 < keys.size(); ++k)
      codes += PressCode(*keys[k]);
    codes += CodeTextFromEvents(PressAndRelease(*keys.back()));
    for (std::size_t k = keys.size() - 1; k-- > 0;)
      codes += ReleaseCode(*keys[k]);
  }
  return Ok(codes);
}

CodeTextResult CodeTextForRawCodes(std::string_view codes) {
  codes = Trim(codes);
  std::string text;
  if (codes.size() % 2 != 0) {
    return Error("the code text has an odd number of digits (" + std::to_string(codes.size()) +
                 "); every code is two hexadecimal digits");
  }
  for (std::size_t i = 0; i < codes.size(); i += 2) {
    const int high = HexDigitValue(codes[i]);
    const int low = HexDigitValue(codes[i + 1]);
    const std::string pair(codes.substr(i, 2));
    if (high < 0 || low < 0) {
      return Error("code " + std::to_string(i / 2 + 1) + " \"" + pair + "\" is not hexadecimal");
    }
    const auto code = static_cast<std::uint8_t>(high * 16 + low);
    if (code == 0 || (code > 0xE4 && code != 0xF0)) {
      return Error("code " + std::to_string(i / 2 + 1) + " \"" + pair +
                   "\" cannot be stored (codes are 01 to e4, and f0)");
    }
    text += Hex(code);
  }
  return Ok(text);
}

CodeTextResult CodeTextForArgument(std::string_view argument) {
  if (argument == "none") {
    return Ok("");
  }
  const std::size_t colon = argument.find(':');
  if (colon == std::string_view::npos) {
    return Error("\"" + std::string(argument) +
                 "\" is not codes:HEX, keys:CHORD, text:STRING or none");
  }
  const std::string_view kind = argument.substr(0, colon);
  const std::string_view rest = argument.substr(colon + 1);
  if (kind == "codes")
    return CodeTextForRawCodes(rest);
  if (kind == "keys")
    return CodeTextForChord(rest);
  if (kind == "text")
    return CodeTextForTypedText(rest);
  return Error("\"" + std::string(kind) + "\" is not codes, keys, text or none");
}

}  // namespace tdxx
