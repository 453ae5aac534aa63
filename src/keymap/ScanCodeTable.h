#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tdxx {

// What a key of the set-2 table is, for grouping in lists.
enum class KeyGroup {
  kLetter,
  kDigit,
  kPunctuation,
  kFunction,
  kModifier,
  kEditing,
  kNavigation,
  kKeypad,
  kMedia,
  kSystem
};

// One key of scan code set 2: its make code (behind the E0 prefix for an extended key), our name
// for it, and the Linux input-event code of the same key (what a keyboard on Linux reports; the
// toolkit's native scan code under X11 is this code + 8).
struct ScanCodeKey {
  std::string_view name;
  bool extended;
  std::uint8_t code;
  std::uint16_t evdev;
  KeyGroup group;
};

// The Pause key sends a sequence of its own (E1 14 77 E1 F0 14 F0 77) and has no release.
inline constexpr std::uint8_t kPausePrefix = 0xE1;

// Every named key, in the order a list shows them.
std::span<const ScanCodeKey> AllScanCodeKeys();

// The key of a make code, or null for a code that has no name.
const ScanCodeKey* FindKeyByCode(bool extended, std::uint8_t code);

// The key of a name, compared without regard to case; also takes the usual other spellings
// (Ctrl for LCtrl, Esc for Escape, Return for Enter, ...). Null when there is none.
const ScanCodeKey* FindKeyByName(std::string_view name);

// The key a Linux input-event code stands for, or null for a key set 2 cannot send.
const ScanCodeKey* FindKeyByEvdev(std::uint16_t evdev);

// The toolkit's native scan code on Linux under X11 (evdev code + 8) to the key.
inline const ScanCodeKey* FindKeyByNativeScanCode(std::uint32_t nativeScanCode) {
  return nativeScanCode < 8 || nativeScanCode > 0xFFFF + 8
             ? nullptr
             : FindKeyByEvdev(static_cast<std::uint16_t>(nativeScanCode - 8));
}

// True for the eight modifier keys (left and right Shift, Ctrl, Alt, Win).
bool IsModifierKey(const ScanCodeKey& key);

// The name a chord shows for a key: "Ctrl", "Shift", "Alt", "Win" for the left modifiers, the
// key's own name for every other key.
std::string_view ChordName(const ScanCodeKey& key);

}  // namespace tdxx
