#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "files/FirmwareImage.h"
#include "protocol/ProtocolContext.h"

namespace tdxx {

inline constexpr std::size_t kFirmwareBlockSize = 512;
// The bootloader owns the flash below this address; the upgrade starts here.
inline constexpr std::uint32_t kFirstFirmwareBlockAddress = 8192;

using FirmwareBlock = std::array<std::uint8_t, kFirmwareBlockSize>;

// Result codes of UpgradeFirmware and WriteFirmwareBlock.
inline constexpr int kUpgradeDone = 0;
inline constexpr int kUpgradeNoStream = 1;
inline constexpr int kUpgradeEraseFailed = 3;
inline constexpr int kUpgradeTransferUnanswered = 4;
inline constexpr int kUpgradeReadbackMissing = 5;
inline constexpr int kUpgradeBurnFailed = 6;
inline constexpr int kUpgradeVerifyFailed = 7;
inline constexpr int kUpgradeTransferRefused = 14;
inline constexpr int kUpgradeReadbackDiffers = 15;

// The number of 512-byte blocks the upgrade of `firmware` counts (109 or 110).
int FirmwareBlockCount(const FirmwareImage& firmware);

// The 512 bytes of the block at `address`; addresses past the image read as erased flash
// (0xFF), so the last block of a 64448-byte image ends in 64 bytes 0xFF.
FirmwareBlock FirmwareBlockAt(const FirmwareImage& firmware, std::uint32_t address);

// Transfers one block into the bootloader's buffer in 16 chunks of 32 bytes, reads it back and
// compares, burns it as block address / 512 and verifies the burn. Needs the stream open in
// 'U'. Returns 0 or the code of the step that failed (4, 14, 5, 15, 6, 7).
int WriteFirmwareBlock(ProtocolContext& ctx, std::uint32_t address,
                       std::span<const std::uint8_t, kFirmwareBlockSize> data);

// Pauses 1000 ms, then drops every byte waiting on the stream (the answers of a failed try).
void DrainInput(ProtocolContext& ctx);

// Writes `firmware` into the bootloader of the last detected device: erase, every block that is
// not blank (each tried at most twice), restart. Opens and closes the stream itself; steps the
// progress bar once per block, blank blocks included. `totalBlocks` is only logged.
// Returns 0 or the failure code.
int UpgradeFirmware(ProtocolContext& ctx, const FirmwareImage& firmware, int totalBlocks);

// What the log says after "Download FAILED." for a failure code (leading blank included).
std::string_view UpgradeFailureReason(int code);

}  // namespace tdxx
