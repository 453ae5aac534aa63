#include "keymap/KeyEvents.h"

#include "files/KeyDefinitionReader.h"
#include "keymap/KeyCodeTextInput.h"

namespace tdxx {
namespace {

constexpr std::uint8_t kExtendedPrefix = 0xE0;
constexpr std::uint8_t kStoredRelease = 0xE3;  // the release prefix F0 as the images hold it
constexpr std::uint8_t kFileRelease = 0xF0;
// Pause: E1 14 77 E1 F0 14 F0 77 (E1 14 77 E1 E3 14 E3 77 as stored).
constexpr std::uint8_t kPauseStored[] = {0xE1, 0x14, 0x77, 0xE1, 0xE3, 0x14, 0xE3, 0x77};

std::string Hex(std::uint8_t code) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[code >> 4], kDigits[code & 0x0F]};
}

bool IsRelease(std::uint8_t code) {
  return code == kStoredRelease || code == kFileRelease;
}

bool StartsWithPause(std::span<const std::uint8_t> codes) {
  if (codes.size() < std::size(kPauseStored)) {
    return false;
  }
  for (std::size_t i = 0; i < std::size(kPauseStored); ++i) {
    if (codes[i] != kPauseStored[i] && !(kPauseStored[i] == kStoredRelease && IsRelease(codes[i])))
      return false;
  }
  return true;
}

bool IsPause(const KeyEvent& event) {
  return event.key != nullptr && event.key->name == "Pause";
}

}  // namespace

std::string KeyEvent::Name() const {
  if (action != KeyAction::kRaw && key != nullptr) {
    return std::string(key->name);
  }
  return CodeHex();
}

std::string KeyEvent::CodeHex() const {
  if (IsPause(*this)) {
    return "e11477";
  }
  if (action == KeyAction::kRaw) {
    return Hex(code == kStoredRelease ? kFileRelease : code);  // as the file writes it
  }
  return extended ? "e0" + Hex(code) : Hex(code);
}

std::vector<KeyEvent> EventsFromCodes(std::span<const std::uint8_t> codes) {
  std::vector<KeyEvent> events;
  std::size_t i = 0;
  while (i < codes.size()) {
    if (codes[i] == kPausePrefix && StartsWithPause(codes.subspan(i))) {
      static const ScanCodeKey* pause = FindKeyByName("Pause");
      events.push_back({KeyAction::kPress, false, 0x14, pause});
      i += std::size(kPauseStored);
      continue;
    }
    std::size_t j = i;
    bool extended = false;
    bool release = false;
    // Prefixes in either order (E0 F0 is the usual one; F0 E0 is read too).
    while (j < codes.size() && (codes[j] == kExtendedPrefix || IsRelease(codes[j]))) {
      if (codes[j] == kExtendedPrefix) {
        if (extended)
          break;
        extended = true;
      } else {
        if (release)
          break;
        release = true;
      }
      ++j;
    }
    if (j >= codes.size() || codes[j] == kExtendedPrefix || IsRelease(codes[j]) ||
        codes[j] == kPausePrefix) {
      // A prefix with no code after it (or a stray E1): shown as it stands.
      events.push_back({KeyAction::kRaw, false, codes[i], nullptr});
      ++i;
      continue;
    }
    events.push_back({release ? KeyAction::kRelease : KeyAction::kPress, extended, codes[j],
                      FindKeyByCode(extended, codes[j])});
    i = j + 1;
  }
  return events;
}

std::vector<std::uint8_t> CodesFromCodeText(std::string_view codeText, bool* readAll) {
  std::vector<std::uint8_t> codes;
  codes.reserve(codeText.size() / 2);
  std::size_t i = 0;
  for (; i + 1 < codeText.size(); i += 2) {
    const std::uint8_t code = HexPairToCode(codeText[i], codeText[i + 1]);
    if (code == 0) {
      break;
    }
    codes.push_back(code);
  }
  if (readAll != nullptr) {
    *readAll = i + 1 >= codeText.size();
  }
  return codes;
}

std::vector<KeyEvent> EventsFromCodeText(std::string_view codeText) {
  return EventsFromCodes(CodesFromCodeText(codeText));
}

std::string CodeTextFromEvents(std::span<const KeyEvent> events) {
  std::string text;
  for (const KeyEvent& event : events) {
    if (event.action == KeyAction::kRaw) {
      text += Hex(event.code == kStoredRelease ? kFileRelease : event.code);
      continue;
    }
    if (IsPause(event)) {
      text += "e11477e1f014f077";
      continue;
    }
    if (event.extended)
      text += "e0";
    if (event.action == KeyAction::kRelease)
      text += "f0";
    text += Hex(event.code);
  }
  return text;
}

std::string EventText(const KeyEvent& event) {
  switch (event.action) {
    case KeyAction::kPress:
      return "\u2193" + event.Name();
    case KeyAction::kRelease:
      return "\u2191" + event.Name();
    case KeyAction::kRaw:
      break;
  }
  return event.Name();
}

namespace {

bool IsPressOf(const KeyEvent& event, const KeyEvent& press) {
  return event.action == KeyAction::kRelease && event.extended == press.extended &&
         event.code == press.code;
}

bool IsModifierEvent(const KeyEvent& event) {
  return event.key != nullptr && IsModifierKey(*event.key);
}

bool IsShift(const KeyEvent& event) {
  return event.key != nullptr && (event.key->name == "LShift" || event.key->name == "RShift");
}

// A single key: its press alone, or its press and release.
std::optional<std::string> SingleKey(std::span<const KeyEvent> events) {
  if (events.size() == 1 && events[0].action == KeyAction::kPress) {
    return events[0].Name();
  }
  if (events.size() == 2 && events[0].action == KeyAction::kPress &&
      IsPressOf(events[1], events[0])) {
    return events[0].Name();
  }
  return std::nullopt;
}

// Modifiers pressed, one key pressed and released, the same modifiers released (any order).
std::optional<std::string> Chord(std::span<const KeyEvent> events) {
  std::size_t m = 0;
  while (m < events.size() && events[m].action == KeyAction::kPress && IsModifierEvent(events[m]))
    ++m;
  if (m == 0 || events.size() != 2 * m + 2)
    return std::nullopt;
  const KeyEvent& key = events[m];
  if (key.action != KeyAction::kPress || !IsPressOf(events[m + 1], key))
    return std::nullopt;
  std::vector<bool> released(m, false);
  for (std::size_t i = m + 2; i < events.size(); ++i) {
    bool found = false;
    for (std::size_t k = 0; k < m && !found; ++k) {
      if (!released[k] && IsPressOf(events[i], events[k])) {
        released[k] = found = true;
      }
    }
    if (!found)
      return std::nullopt;
  }
  std::string text;
  for (std::size_t k = 0; k < m; ++k) {
    text += std::string(ChordName(*events[k].key)) + "+";
  }
  return text + key.Name();
}

// Press/release pairs of typable keys, Shift held around some of them; two characters or more.
std::optional<std::string> TypedText(std::span<const KeyEvent> events) {
  std::string text;
  int shiftHeld = 0;
  std::size_t i = 0;
  while (i < events.size()) {
    const KeyEvent& event = events[i];
    if (IsShift(event)) {
      if (event.action == KeyAction::kPress) {
        ++shiftHeld;
      } else if (event.action == KeyAction::kRelease && shiftHeld > 0) {
        --shiftHeld;
      } else {
        return std::nullopt;
      }
      ++i;
      continue;
    }
    if (event.action != KeyAction::kPress || event.key == nullptr || i + 1 >= events.size() ||
        !IsPressOf(events[i + 1], event)) {
      return std::nullopt;
    }
    const char c = TypedCharacter(*event.key, shiftHeld > 0);
    if (c == 0)
      return std::nullopt;
    text += c;
    i += 2;
  }
  if (shiftHeld != 0 || text.size() < 2)
    return std::nullopt;
  return text;
}

}  // namespace

std::string SummarizeEvents(std::span<const KeyEvent> events) {
  if (events.empty())
    return "";
  if (std::optional<std::string> single = SingleKey(events))
    return *single;
  if (std::optional<std::string> chord = Chord(events))
    return *chord;
  if (std::optional<std::string> typed = TypedText(events)) {
    std::string shown;
    for (const char c : *typed) {
      if (c == '\n')
        shown += "\\n";
      else if (c == '\t')
        shown += "\\t";
      else if (c == '"' || c == '\\')
        shown += std::string("\\") + c;
      else
        shown += c;
    }
    return "types \"" + shown + "\"";
  }
  std::string text;
  for (const KeyEvent& event : events) {
    if (!text.empty())
      text += ' ';
    text += EventText(event);
  }
  return text;
}

std::vector<KeyEvent> PressAndRelease(const ScanCodeKey& key) {
  if (key.name == "Pause") {
    return {{KeyAction::kPress, false, key.code, &key}};
  }
  return {{KeyAction::kPress, key.extended, key.code, &key},
          {KeyAction::kRelease, key.extended, key.code, &key}};
}

}  // namespace tdxx
