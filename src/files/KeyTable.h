#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tdxx {

// The key-definition image sent to the device byte for byte. Records are plain byte arrays with
// named offsets so that no padding can ever move a byte.
inline constexpr std::size_t kKeyRecordSize = 344;
inline constexpr std::size_t kKeyTableSize = 66;
inline constexpr std::size_t kGlobalParameterBlockSize = 15;

struct KeyRecord {
  static constexpr std::size_t kMarker = 0;
  static constexpr std::size_t kRecordType = 1;
  static constexpr std::size_t kKeyNumber = 2;
  static constexpr std::size_t kLevel2Flags = 3;
  static constexpr std::size_t kLevel1Flags = 4;
  static constexpr std::size_t kKeyNumberCopy = 5;
  static constexpr std::size_t kLevel1Length = 6;
  static constexpr std::size_t kLevel1Codes = 7;  // 224 bytes
  static constexpr std::size_t kLevel1CodesSize = 224;
  static constexpr std::size_t kLevel2Length = 231;
  static constexpr std::size_t kLevel2Codes = 232;  // 112 bytes
  static constexpr std::size_t kLevel2CodesSize = 112;

  std::array<std::uint8_t, kKeyRecordSize> bytes{};
};
static_assert(sizeof(KeyRecord) == kKeyRecordSize);

using KeyTable = std::array<KeyRecord, kKeyTableSize>;

// Bits of a level's flag byte (KeyRecord::kLevel1Flags, kLevel2Flags).
inline constexpr std::uint8_t kFlagHasCodes = 0x01;    // the level's code text is not empty
inline constexpr std::uint8_t kFlagAutoRepeat = 0x02;  // the level repeats while held
inline constexpr std::uint8_t kFlagMacroMode3 = 0x04;  // the level's macro mode is 3
// Mode 1; or, in mode 0, one code or a modifier key.
inline constexpr std::uint8_t kFlagSingleCode = 0x08;

// A key-type slot of the global block that holds no key number (0x80 and above are free).
inline constexpr std::uint8_t kFreeKeyTypeSlot = 0x80;

struct GlobalParameterBlock {
  static constexpr std::size_t kMarker = 0;
  static constexpr std::size_t kRecordType = 1;
  static constexpr std::size_t kParameterCount = 2;
  static constexpr std::size_t kLevel1Capacity = 3;
  static constexpr std::size_t kLevel2Capacity = 4;
  static constexpr std::size_t kKeyType2Slots = 5;  // bytes 5 and 6
  static constexpr std::size_t kKeyType1Slots = 7;  // bytes 7 and 8
  static constexpr std::size_t kKeyRollOver = 9;
  static constexpr std::size_t kUsbDeviceType = 10;
  static constexpr std::size_t kCharacterPacing = 11;
  static constexpr std::size_t kLedFunction = 12;
  static constexpr std::size_t kLed2Function = 13;
  static constexpr std::size_t kLed3Function = 14;

  // Contents before any file is read.
  std::array<std::uint8_t, kGlobalParameterBlockSize> bytes{
      0xE4, 0x01, 0x0A, 0xE0, 0x70, 0x80, 0x80, 0x80, 0x80, 0x02, 0x0B, 0x02, 0x03, 0x00, 0x00};
};
static_assert(sizeof(GlobalParameterBlock) == kGlobalParameterBlockSize);

}  // namespace tdxx
