#pragma once

#include <string>
#include <string_view>

namespace tdxx {

// Reads the whole file at `path` into `bytes`. Returns 0, or the errno value that explains why
// the file cannot be read (a folder given as the path is EISDIR).
int ReadFileBytes(const std::string& path, std::string& bytes);

// Replaces the file at `path` by `bytes` so that the file is never seen half written: the bytes
// go to a temporary file in the same folder, which is then renamed over the old one. An existing
// file keeps its permissions; a symbolic link keeps pointing at the file it names. False when the
// folder does not exist, is not a folder, or the file cannot be written.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);
// The same (written, flushed and synced before the rename); 0, or the errno value that explains
// the failure (ENOSPC, EROFS, EACCES, ...). On failure the old file is untouched.
int ReplaceFileAtomicallyOrError(const std::string& path, std::string_view bytes);

// The system's text for an errno value, e.g. "No such file or directory".
std::string SystemErrorText(int error);

}  // namespace tdxx
