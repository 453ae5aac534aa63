#pragma once

#include <iosfwd>

#include "app/Application.h"
#include "cli/ConsolePort.h"

namespace tdxx::cli {

// Exit statuses of `detect`.
inline constexpr int kDetectFound = 0;
inline constexpr int kDetectNothing = 1;
inline constexpr int kDetectConflict = 3;

// Runs detection as Connect does (without keeping the device open) and prints the keypad panel,
// or with `json` one object with the device kind, the panel text and the device information.
int RunDetect(Application& app, ConsolePort& port, bool json, std::ostream& out);

// detect --all: lists every attached keypad or bootloader interface (kind, path, identifiers,
// whether it can be opened and why not), a line each or as {"devices":[...],"exitCode"}.
// Returns 0 when one or more are attached, 1 for none, 3 when the HID library cannot be bound.
int RunDetectAll(HidTransport& transport, bool json, std::ostream& out);

}  // namespace tdxx::cli
