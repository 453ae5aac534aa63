#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "keymap/ScanCodeTable.h"

namespace tdxx {

// One step of a level's code sequence as a person reads it.
enum class KeyAction { kPress, kRelease, kRaw };

struct KeyEvent {
  KeyAction action = KeyAction::kPress;
  bool extended = false;             // behind the E0 prefix
  std::uint8_t code = 0;             // make code (kRaw: the code that could not be read as a key)
  const ScanCodeKey* key = nullptr;  // null: a code without a name

  // The key's name, or its code in hex ("e05f", "5f") when it has none; kRaw: the code in hex.
  std::string Name() const;
  // The code in hex as the file writes a make code: "1c", "e075", "e11477" for Pause.
  std::string CodeHex() const;
  bool operator==(const KeyEvent& other) const {
    return action == other.action && extended == other.extended && code == other.code &&
           key == other.key;
  }
};

// The events of stored codes (release prefix as E3 or F0, extended prefix E0, Pause's E1
// sequence). A prefix without a code after it, and codes the table cannot place, become kRaw
// events: nothing is hidden.
std::vector<KeyEvent> EventsFromCodes(std::span<const std::uint8_t> codes);

// The codes of a code text, read pair by pair with the reader's digit rule, up to the first
// pair that gives no code; `readAll` tells whether every pair was taken.
std::vector<std::uint8_t> CodesFromCodeText(std::string_view codeText, bool* readAll = nullptr);

// The events a code text stands for (CodesFromCodeText, then EventsFromCodes).
std::vector<KeyEvent> EventsFromCodeText(std::string_view codeText);

// Events back to a code text: lowercase, release prefix f0, extended prefix e0.
std::string CodeTextFromEvents(std::span<const KeyEvent> events);

// "↓LCtrl" / "↑LCtrl" for one event, the raw code in hex for kRaw.
std::string EventText(const KeyEvent& event);

// What a level does, at a glance: "" for no events, a single key ("F1"), a chord ("Ctrl+C"),
// typed text (types "hello"), else the sequence ("↓LCtrl ↓C ↑C ↑LCtrl ↓Enter ↑Enter").
std::string SummarizeEvents(std::span<const KeyEvent> events);

// Press and release of one key.
std::vector<KeyEvent> PressAndRelease(const ScanCodeKey& key);

}  // namespace tdxx
