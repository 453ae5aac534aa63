#pragma once

#include "app/Application.h"

namespace tdxx {

// The firmware upgrade of the Download command for a loaded UPG file: re-detects the device;
// a keypad in normal operation or PRG/TMode is offered the switch to its bootloader (the user
// then clicks Download again); a bootloader gets the image after the size checks. Returns 1 when
// a check refused the file or the device, 0 otherwise.
int RunFirmwareUpdate(Application& app, MainWindowPort& port);

}  // namespace tdxx
