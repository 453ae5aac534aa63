#pragma once

#include "protocol/ProtocolContext.h"

namespace tdxx {

// Asks a bootloader (stream in 'U') for its versions and appends them to the keypad panel.
void QueryBootloaderVersions(ProtocolContext& ctx);
// Asks a device in PRG/TMode (stream in 'T') for its versions and appends them to the panel.
void QueryDeviceVersions(ProtocolContext& ctx);

}  // namespace tdxx
