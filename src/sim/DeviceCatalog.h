#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/DeviceConfig.h"

namespace tdxx::sim {

// The simulated device kinds by name, with plausible identity reports and version replies.
// A name may carry options after colons: "td-b-kbmouse:interfaces=3", "td-a:no-permission",
// "td-a-kbmouse:collections=2" (each interface listed once per top-level collection).
// Download fault options: "td-a:reject-feature=N" rejects the Nth feature report (from 1),
// "td-a:unplug-after-features=N" unplugs after N feature reports, "prg-tmode:capacity=N"
// answers the key-capacity query with N, "prg-tmode:ping=0xNN" ends the ping answer with that
// status byte, "prg-tmode:ping-short" answers pings with the status byte alone,
// "prg-tmode:ping-late=MS" answers pings that late, "prg-tmode:no-ping-from-key=N" leaves the
// ping before key N and all later ones unanswered, "prg-tmode:unplug-after-key=N" leaves the bus
// once key N is in. "refuse-open-for=MS" refuses opens (EACCES) for that long after the device
// appears, as before udev has granted access.
// Bootloader launch and firmware options: "td-a:return-after=MS" (time away after a launch,
// erase, reboot or restart; 3000 by default), "td-a:never-returns", "td-a:launch-as=KIND" (the
// bootloader kind the keypad comes back as), and on bootloaders "erase-silent",
// "erase-answer=0xNN", "corrupt-readback=K" (one wrong read-back byte in block transfer K,
// counted from 1) with "corrupt-readback-times=N" (also in the N - 1 transfers after it),
// "corrupt-readback-chunk=C" and "corrupt-readback-byte=B" (where: chunk 0-15, byte 0-31 of
// it; chunk 3, byte 7 by default),
// "burn-refused", "verify-refused", "unplug-after-reports=N".
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
inline constexpr std::uint8_t kCommandKeyCapacity = 0x1D;          // 'U', and 'T' when new
inline constexpr std::uint8_t kCommandPing = 0x08;                 // 'T'

}  // namespace tdxx::sim
