#pragma once

#include <string_view>

#include "app/MainWindowState.h"
#include "hid/HidTransport.h"
#include "protocol/MainWindowPort.h"

namespace tdxx {

// Shows the result box of an erase or reboot (warning icon, OK), then forgets the device:
// the keypad panel is cleared and deviceKind becomes 0, so the next command needs a Connect.
void ShowOutcomeAndForgetDevice(MainWindowPort& port, MainWindowState& state, bool failed,
                                std::string_view successText, std::string_view failureText,
                                std::string_view title);

// A warning box with an OK button.
void ShowWarning(MainWindowPort& port, std::string_view text, std::string_view title);

// The refusal of a command when detection found -1: `severalText` ("... aborted! Please
// connect only one device.") when several devices are connected; when the HID library cannot
// be bound, the same box says so, with the panel's reason and where to look instead.
void ShowConflict(MainWindowPort& port, const HidTransport& transport, std::string_view severalText,
                  std::string_view title);

inline constexpr const char* kNoDeviceText =
    "No keypad/keyboard found!\r\nPlug your device in and/or click \"Connect\".";

}  // namespace tdxx
