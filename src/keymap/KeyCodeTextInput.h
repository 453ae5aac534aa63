#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keymap/KeyEvents.h"

namespace tdxx {

// A text turned into events or a code text, or the reason it could not be.
struct CodeTextResult {
  bool ok = false;
  std::string codeText;  // lowercase code text
  std::string error;     // names what is wrong when !ok
};

// The keys a US layout types for `text`: each character as press and release, a capital or
// shifted sign inside Shift press and release. Tab, newline (Enter) and space are typed too;
// any other character is an error naming it.
CodeTextResult CodeTextForTypedText(std::string_view text);

// The character a US layout types for a key (with Shift held or not); 0 when none.
char TypedCharacter(const ScanCodeKey& key, bool shift);

// A chord such as "Ctrl+Shift+F5" or "Enter": modifiers pressed in order, the key pressed and
// released, the modifiers released in reverse. Several chords separated by blanks follow one
// another. Names are those of the key table, without regard to case.
CodeTextResult CodeTextForChord(std::string_view chord);

// A code text as typed in a raw field: hex pairs of either case (written out in lowercase),
// each giving a code the keypad stores (01 to e4, f0). An error names the first bad pair.
CodeTextResult CodeTextForRawCodes(std::string_view codes);

// A level's value as --set takes it: codes:HEX, keys:CHORD, text:STRING or none.
CodeTextResult CodeTextForArgument(std::string_view argument);

}  // namespace tdxx
