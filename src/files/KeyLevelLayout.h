#pragma once

#include <cstddef>

#include "files/KeyTable.h"

namespace tdxx {

// Where one level (1 or 2) of a key record keeps its flag byte, length byte and codes.
struct KeyLevelLayout {
  std::size_t flags;
  std::size_t length;
  std::size_t codes;
  std::size_t codesSize;
};

constexpr KeyLevelLayout kLevel1Layout{KeyRecord::kLevel1Flags, KeyRecord::kLevel1Length,
                                       KeyRecord::kLevel1Codes, KeyRecord::kLevel1CodesSize};
constexpr KeyLevelLayout kLevel2Layout{KeyRecord::kLevel2Flags, KeyRecord::kLevel2Length,
                                       KeyRecord::kLevel2Codes, KeyRecord::kLevel2CodesSize};

static_assert(KeyRecord::kLevel1Codes + KeyRecord::kLevel1CodesSize == KeyRecord::kLevel2Length);
static_assert(KeyRecord::kLevel2Codes + KeyRecord::kLevel2CodesSize == kKeyRecordSize);

}  // namespace tdxx
