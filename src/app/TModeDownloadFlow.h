#pragma once

#include "app/Application.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// The PRG/TMode key-definition download of the loaded CKD file to the device in PRG/TMode,
// with its progress, outcome lines and the reminder to restore the rear-panel switch. Returns
// 0 on success, 1 on failure.
int RunTModeDownload(Application& app, MainWindowPort& port);

}  // namespace tdxx
