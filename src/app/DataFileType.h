#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tdxx {

// The data-file type a path stands for, decided by its extension alone (from the last dot of
// the file-name part, compared ignoring case with ".upg", then ".ckd", then ".bin"):
// kFileUpg, kFileCkd, kFileBin, or kFileNone for anything else.
std::int32_t DataFileTypeOf(std::string_view path);

// The path Open loads for a chosen `path`: a file name without an extension is taken with
// `defaultExtension` ("*.ckd") when that file exists, else as typed.
std::string WithDefaultExtension(const std::string& path, std::string_view defaultExtension);

// Paths are handed to the readers as narrow text of at most this many bytes.
inline constexpr std::size_t kMaxReaderPathBytes = 511;

}  // namespace tdxx
