#pragma once

#include <functional>
#include <string>

namespace tdxx {

class FileWriter;

// How a safe copy ended: `failed` true with a reason for the user (lower case, no full stop),
// or false with an empty reason.
struct CopyOutcome {
  bool failed = false;
  std::string reason;
};

// Copies `source` to `destination` so that the destination is either the complete, verified
// copy or left as it was: the bytes go to a temporary file beside the destination, which is
// synced, read back from the device and compared byte for byte, then renamed over the
// destination (replacing a file of that name), and the folder is synced. On any failure the
// temporary file is removed. `betweenChunks` runs between the chunks written and read back, so
// that a window can keep itself alive during a slow copy.
CopyOutcome SafeCopy(const std::string& source, const std::string& destination, FileWriter& writer,
                     const std::function<void()>& betweenChunks);

// The name SafeCopy gives its temporary file for `destination` (in the same folder).
std::string TemporaryCopyPath(const std::string& destination);

}  // namespace tdxx
