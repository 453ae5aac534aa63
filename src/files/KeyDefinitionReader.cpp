#include "files/KeyDefinitionReader.h"

#include <string>

#include "files/FileBytes.h"
#include "files/KeyLevelLayout.h"
#include "files/ModifierPatternTable.h"
#include "files/PrivateProfile.h"

namespace tdxx {
namespace {

constexpr std::string_view kGlobalSection = "GLOBAL_PARAMETERS";
// The reader works on an 8-bit copy of a code text of at most this many characters; no longer
// text fits a code area anyway.
constexpr std::size_t kCodeTextMaxLength = 1023;

struct FileType {
  int keyCount;
  std::string_view logLine;
};

FileType DetermineFileType(const ProfileSnapshot& profile) {
  switch (profile.ReadInt(kGlobalSection, "Number_Of_Keys", 0)) {
    case 66:
      return {66, "\r\nCKD File Type: WK-C (loading 66 keys)"};
    case 48:
      return {48, "\r\nCKD File Type: TD-B (loading 48 keys)"};
    case 24:
      return {24, "\r\nCKD File Type: TD-A (loading 24 keys)"};
    default:
      break;
  }
  const std::string model = profile.ReadString(kGlobalSection, "Model_Number", "None");
  if (model == "Keysmith917") {
    return {24, "\r\nCKD File Type: 917 (loading 24 keys)"};
  }
  if (model == "Keysmith916") {
    return {35, "\r\nCKD File Type: 916 (loading 35 keys)"};
  }
  return {24, "\r\nCKD File Type: unknown (loading 24 keys)"};
}

std::uint8_t LowByte(std::int32_t value) {
  return static_cast<std::uint8_t>(value);
}

void ReadGlobalParameters(const ProfileSnapshot& profile, GlobalParameterBlock& block,
                          KeyDefinitionDiagnostics* diagnostics) {
  const auto& names = KeyDefinitionGlobalNames();
  const auto& defaults = KeyDefinitionGlobalDefaults();
  for (std::size_t g = kGlobalCharacterPacing; g < kGlobalValueCount; ++g) {
    const std::int32_t value = profile.ReadInt(kGlobalSection, names[g], defaults[g]);
    block.bytes[GlobalBlockOffsetOf(g)] = LowByte(value);
    if (diagnostics != nullptr) {
      diagnostics->globalValues[g] = value;
    }
  }
}

void ResetRecord(KeyRecord& record, std::size_t keyNumber) {
  record.bytes.fill(0);
  record.bytes[KeyRecord::kMarker] = 0xE4;
  record.bytes[KeyRecord::kRecordType] = 0x02;
  record.bytes[KeyRecord::kKeyNumber] = static_cast<std::uint8_t>(keyNumber);
  record.bytes[KeyRecord::kKeyNumberCopy] = static_cast<std::uint8_t>(keyNumber);
}

std::uint8_t ModeFlags(std::int32_t mode) {
  switch (mode) {
    case 1:
      return kFlagSingleCode;
    case 3:
      return kFlagMacroMode3;
    default:
      return 0;  // modes 0 and 2, and unknown modes
  }
}

// Enters `keyNumber` into the first free one of the two slots at `firstSlot`; false when both
// are taken.
bool EnterKeyTypeSlot(GlobalParameterBlock& block, std::size_t firstSlot, std::size_t keyNumber) {
  for (std::size_t slot = firstSlot; slot < firstSlot + 2; ++slot) {
    if (block.bytes[slot] >= kFreeKeyTypeSlot) {
      block.bytes[slot] = static_cast<std::uint8_t>(keyNumber);
      return true;
    }
  }
  return false;
}

// Fills one level of `record` from its code text; the mode's flag bits are already set.
void ReadLevel(KeyRecord& record, int level, std::int32_t mode, const std::string& text,
               int capacity, LevelReading& reading) {
  reading.capacity = capacity;
  if (text.empty()) {
    return;
  }
  const KeyLevelLayout& layout = level == 1 ? kLevel1Layout : kLevel2Layout;
  std::uint8_t& flags = record.bytes[layout.flags];
  flags |= kFlagHasCodes;
  const std::string_view codeText = std::string_view(text).substr(0, kCodeTextMaxLength);
  reading.cutToMaximum = text.size() > kCodeTextMaxLength;
  if (mode != 0) {
    reading.conversion = ConvertCodeText(record, level, codeText, capacity);
    return;
  }
  if (const ModifierPattern* pattern = FindModifierPattern(codeText)) {
    for (std::size_t i = 0; i < pattern->codeCount; ++i) {
      record.bytes[layout.codes + i] = pattern->codes[i];
    }
    record.bytes[layout.length] = static_cast<std::uint8_t>(pattern->codeCount + 1);
    flags |= kFlagSingleCode;
    reading.modifierPattern = true;
    reading.conversion.codesWritten = pattern->codeCount;
    return;
  }
  reading.conversion = ConvertCodeText(record, level, codeText, capacity);
  // One code in the area, counted or not (a later rejected pair leaves the length at 0).
  if (record.bytes[layout.codes] != 0 && record.bytes[layout.codes + 1] == 0) {
    flags |= kFlagSingleCode;
  }
}

void ReadKey(const ProfileSnapshot& profile, std::size_t keyNumber, KeyRecord& record,
             GlobalParameterBlock& block, KeyReading& reading) {
  const std::string section = "KEY" + std::to_string(keyNumber);
  reading.sectionPresent = profile.HasSection(section);
  if (reading.sectionPresent) {
    reading.keyType = profile.Lookup(section, "KeyType");
    reading.levels[0].mode = profile.Lookup(section, "L1_MacroMode");
    reading.levels[1].mode = profile.Lookup(section, "L2_MacroMode");
    reading.levels[0].autoRepeat = profile.Lookup(section, "L1_AutoRepeat");
    reading.levels[1].autoRepeat = profile.Lookup(section, "L2_AutoRepeat");
    reading.levels[0].codes = profile.Lookup(section, "Level_1_Codes");
    reading.levels[1].codes = profile.Lookup(section, "Level_2_Codes");
  }
  const std::int32_t level1Mode = profile.ReadInt(section, "L1_MacroMode", 0);
  const std::int32_t level2Mode = profile.ReadInt(section, "L2_MacroMode", 0);
  record.bytes[KeyRecord::kLevel1Flags] = ModeFlags(level1Mode);
  record.bytes[KeyRecord::kLevel2Flags] = ModeFlags(level2Mode);
  reading.levels[0].modeValue = level1Mode;
  reading.levels[1].modeValue = level2Mode;
  if (profile.ReadInt(section, "L1_AutoRepeat", 0) != 0) {
    record.bytes[KeyRecord::kLevel1Flags] |= kFlagAutoRepeat;
  }
  if (profile.ReadInt(section, "L2_AutoRepeat", 0) != 0) {
    record.bytes[KeyRecord::kLevel2Flags] |= kFlagAutoRepeat;
  }

  reading.keyTypeValue = profile.ReadInt(section, "KeyType", 0);
  switch (reading.keyTypeValue) {
    case 2:
      reading.keyTypeIgnored =
          !EnterKeyTypeSlot(block, GlobalParameterBlock::kKeyType2Slots, keyNumber);
      break;
    case 1:
      reading.keyTypeIgnored =
          !EnterKeyTypeSlot(block, GlobalParameterBlock::kKeyType1Slots, keyNumber);
      break;
    default:
      break;
  }

  // Level 1 may use the room of level 2 when level 2 holds nothing.
  const std::string level2Text = profile.ReadString(section, "Level_2_Codes", "");
  const int level1Capacity = level2Text.empty() ? 224 : 112;
  ReadLevel(record, 1, level1Mode, profile.ReadString(section, "Level_1_Codes", ""), level1Capacity,
            reading.levels[0]);
  ReadLevel(record, 2, level2Mode, level2Text, 112, reading.levels[1]);
}

// A CKD file holds the global section, a key section, or both.
bool HasKeyDefinitions(const ProfileSnapshot& profile) {
  if (profile.HasSection(kGlobalSection)) {
    return true;
  }
  for (std::size_t k = 0; k < kKeyTableSize; ++k) {
    if (profile.HasSection("KEY" + std::to_string(k))) {
      return true;
    }
  }
  return false;
}

int ReadKeyDefinitions(const ProfileSnapshot& profile, KeyTable& keyTable,
                       GlobalParameterBlock& globalBlock, ProgressLog& log,
                       KeyDefinitionDiagnostics* diagnostics) {
  if (!HasKeyDefinitions(profile)) {
    // A file of some other kind would otherwise load as 24 empty keys and wipe the keypad.
    log.LogProgress("\r\nCannot read file: no key definitions found.");
    return 0;
  }

  const FileType fileType = DetermineFileType(profile);
  log.LogProgress(fileType.logLine);
  ReadGlobalParameters(profile, globalBlock, diagnostics);
  for (std::size_t slot = 0; slot < 4; ++slot) {
    globalBlock.bytes[GlobalParameterBlock::kKeyType2Slots + slot] = kFreeKeyTypeSlot;
  }
  for (std::size_t k = 0; k < kKeyTableSize; ++k) {
    ResetRecord(keyTable[k], k);
  }
  KeyReading unused;
  for (std::size_t k = 0; k < kKeyTableSize; ++k) {
    ReadKey(profile, k, keyTable[k], globalBlock,
            diagnostics != nullptr ? diagnostics->keys[k] : unused);
  }
  if (diagnostics != nullptr) {
    diagnostics->fileRead = true;
    diagnostics->keyCount = fileType.keyCount;
    diagnostics->numberOfKeysValue = profile.ReadInt(kGlobalSection, "Number_Of_Keys", 0);
    diagnostics->globalValues[kGlobalNumberOfKeys] = diagnostics->numberOfKeysValue;
    const auto& names = KeyDefinitionGlobalNames();
    for (std::size_t g = 0; g < kGlobalValueCount; ++g) {
      diagnostics->globals[g] = profile.Lookup(kGlobalSection, names[g]);
    }
  }
  return fileType.keyCount;
}

}  // namespace

const std::array<const char*, kGlobalValueCount>& KeyDefinitionGlobalNames() {
  static constexpr std::array<const char*, kGlobalValueCount> kNames{
      "Number_Of_Keys", "Model_Number",  "Character_Pacing", "Key_Roll_Over",
      "LED_Function",   "LED2_Function", "LED3_Function",    "USB_Device_Type"};
  return kNames;
}

const std::array<std::int32_t, kGlobalValueCount>& KeyDefinitionGlobalDefaults() {
  static constexpr std::array<std::int32_t, kGlobalValueCount> kDefaults{0, 0, 4, 2, 1, 0, 0, 11};
  return kDefaults;
}

std::size_t GlobalBlockOffsetOf(std::size_t globalIndex) {
  switch (globalIndex) {
    case kGlobalCharacterPacing:
      return GlobalParameterBlock::kCharacterPacing;
    case kGlobalKeyRollOver:
      return GlobalParameterBlock::kKeyRollOver;
    case kGlobalLedFunction:
      return GlobalParameterBlock::kLedFunction;
    case kGlobalLed2Function:
      return GlobalParameterBlock::kLed2Function;
    case kGlobalLed3Function:
      return GlobalParameterBlock::kLed3Function;
    case kGlobalUsbDeviceType:
      return GlobalParameterBlock::kUsbDeviceType;
    default:
      return 0;
  }
}

int ReadKeyDefinitionFile(const std::string& path, KeyTable& keyTable,
                          GlobalParameterBlock& globalBlock, ProgressLog& log,
                          KeyDefinitionDiagnostics* diagnostics) {
  if (diagnostics != nullptr) {
    *diagnostics = KeyDefinitionDiagnostics{};
  }
  int error = 0;
  const std::optional<ProfileSnapshot> profile = ProfileSnapshot::TryLoad(path, error);
  if (!profile) {
    // Reading on with defaults would hand a later download 24 empty keys; keep what was loaded.
    log.LogProgress("\r\nCannot read file: " + SystemErrorText(error));
    return 0;
  }
  return ReadKeyDefinitions(*profile, keyTable, globalBlock, log, diagnostics);
}

int ReadKeyDefinitionBytes(std::string_view fileBytes, KeyTable& keyTable,
                           GlobalParameterBlock& globalBlock, ProgressLog& log,
                           KeyDefinitionDiagnostics* diagnostics) {
  if (diagnostics != nullptr) {
    *diagnostics = KeyDefinitionDiagnostics{};
  }
  return ReadKeyDefinitions(ProfileSnapshot::Parse(fileBytes), keyTable, globalBlock, log,
                            diagnostics);
}

}  // namespace tdxx
