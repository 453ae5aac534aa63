#pragma once

#include <cstdint>
#include <string_view>

namespace tdxx {

// The data-file type a path stands for, decided by its extension alone (from the last dot of
// the file-name part, compared ignoring case with ".upg", then ".ckd", then ".bin"):
// kFileUpg, kFileCkd, kFileBin, or kFileNone for anything else.
std::int32_t DataFileTypeOf(std::string_view path);

// Paths are handed to the readers as narrow text of at most this many bytes.
inline constexpr std::size_t kMaxReaderPathBytes = 511;

}  // namespace tdxx
