#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/DeviceConfig.h"

namespace tdxx::sim {

// The simulated device kinds by name, with plausible identity reports and version replies.
// A name may carry options after colons: "td-b-kbmouse:interfaces=3", "td-a:no-permission",
// "td-a-kbmouse:collections=2" (each interface listed once per top-level collection).
// "hid-VVVV-PPPP" (hex) is any other HID device with those identifiers.
std::optional<DeviceConfig> DeviceConfigForKind(const std::string& name);

// Every plain kind name DeviceConfigForKind accepts.
std::vector<std::string> CatalogKindNames();

// Stream command bytes (the byte after 0x40).
inline constexpr std::uint8_t kCommandVersion = 0x06;    // 'U' bootloader / 'T' device version
inline constexpr std::uint8_t kCommandBuildDate = 0x03;  // 'T'
inline constexpr std::uint8_t kCommandBootloaderInstalled = 0x0C;  // 'T'
inline constexpr std::uint8_t kCommandKeypadVersion = 0x19;        // 'U'
inline constexpr std::uint8_t kCommandFlashDriveVersion = 0x1B;    // 'U'
inline constexpr std::uint8_t kCommandKeyCapacity = 0x1D;          // 'U'

}  // namespace tdxx::sim
