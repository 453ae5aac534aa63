#pragma once

#include <cstdint>
#include <vector>

#include "files/KeyTable.h"

namespace tdxx {

// Which part of a key record a sent byte belongs to; the PRG/TMode download names it when the
// byte cannot be sent.
enum class KeyBytePart {
  Attributes,    // record bytes 0 to 5
  Level1Length,  // a non-zero level-1 length
  Level1Codes,   // a byte of the level-1 code area
  Level1Empty,   // the 0 of an empty level 1
  Level2Length,  // a non-zero level-2 length
  Level2Codes,   // a byte of the level-2 code area
  Level2Empty,   // the 0 of an empty level 2
};

struct KeyWireByte {
  std::uint8_t value;
  KeyBytePart part;
};

// The bytes of one key record as both downloads send them: bytes 0 to 5, then each level as
// its length byte L followed by the first L bytes of its code area (nothing more when L is 0).
// A length beyond its code area is taken as the whole area.
std::vector<KeyWireByte> KeyRecordWireBytes(const KeyRecord& record);

}  // namespace tdxx
