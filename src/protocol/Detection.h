#pragma once

#include <string>

#include "protocol/ProtocolContext.h"

namespace tdxx {

// Finds the one connected device, sets ctx.deviceKind, writes the keypad panel and, for
// bootloaders and PRG/TMode devices (without keepOpen), adds the model and the versions.
// With keepOpen the first matching device stays open for feature reports; the caller closes
// it with CloseKeypad.
// Interfaces that discovery could not open for lack of permission get NoPermissionLine on the
// panel, interfaces held by another program InUseLine; with keepOpen both go to the progress log
// as well.
void DetectKeypad(ProtocolContext& ctx, bool keepOpen);

// The line that tells the user a keypad interface could not be opened for lack of permission.
std::string NoPermissionLine(const std::string& path);
// The line that tells the user another program (another instance of the loader, a script)
// holds a keypad interface, so it was left alone.
std::string InUseLine(const std::string& path);

}  // namespace tdxx
