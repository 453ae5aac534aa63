#pragma once

#include <string>

#include "hid/DeviceKind.h"
#include "hid/HidTransport.h"

namespace tdxx::cli {

// A short name for an interface's kind as discovery gives it ("TD-A keypad", "TDxx/WKxxx
// bootloader", ...), for the lists of detect --all and doctor.
std::string InterfaceKindName(DeviceKind kind);

// The model alone, for a question about the device: "TD-A", "WK-C"; "keypad in PRG/TMode".
std::string KindModelName(DeviceKind kind);

// "permission", "in use" or "failed" for an interface that cannot be opened; empty otherwise.
std::string InterfaceProblemName(AttachedInterface::Problem problem);

}  // namespace tdxx::cli
