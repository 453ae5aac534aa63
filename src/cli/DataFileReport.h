#pragma once

#include <iosfwd>
#include <string>

namespace tdxx::cli {

// Exit statuses of `inspect`.
inline constexpr int kInspectRead = 0;
inline constexpr int kInspectFailed = 1;
inline constexpr int kInspectUsage = 2;

// Reads `path` with the reader that Open chooses for its extension and prints what was read:
// a readable summary, or with `json` one JSON object.
int RunInspect(const std::string& path, bool json, std::ostream& out, std::ostream& errors);

}  // namespace tdxx::cli
