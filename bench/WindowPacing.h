#pragma once

#include <string>

#include "DownloadPacing.h"

namespace tdxx::bench {

// Runs the key download of `c` in the windowed program, offscreen: the four windows built as the
// program entry builds them, on the windowed program's clock, the example file given as the
// command-line argument; then Connect and Download as the user clicks them. The documents go
// under `folder`. Needs the toolkit's application object.
PacingResult RunKeyDownloadInWindow(const KeyDownloadCase& c, const std::string& folder);

}  // namespace tdxx::bench
