#pragma once

#include "app/Application.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// The standard key-definition download of the loaded CKD file: re-detects the keypad keeping
// its handle, sends the global block and the keys (at most 24 to the 24-key kinds) as feature
// reports, closes the keypad and reports the outcome; after a failure it opens the
// download-failed advice window. Returns 0 on success, 1 on failure.
int RunStandardDownload(Application& app, MainWindowPort& port);

}  // namespace tdxx
