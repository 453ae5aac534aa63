#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/KeyDefinitionDiagnostics.h"
#include "files/KeyTable.h"
#include "files/ProgressLog.h"

namespace tdxx {

// Reads a CKD key-definition file into the key table and the global block and logs its type
// line. Returns the key count (24, 35, 48 or 66), or 0 when the file does not exist, cannot be
// opened, or has neither a GLOBAL_PARAMETERS nor any KEYn section (logged as "Cannot read
// file: " and the reason; the images are then left as they were).
// With `diagnostics`, also reports every value's text and where one did not reach the images as
// written (a rejected pair, a text over capacity, a third key of one key type, ...).
int ReadKeyDefinitionFile(const std::string& path, KeyTable& keyTable,
                          GlobalParameterBlock& globalBlock, ProgressLog& log,
                          KeyDefinitionDiagnostics* diagnostics = nullptr);

// The same for a file's bytes already in memory (a file about to be saved, for instance).
int ReadKeyDefinitionBytes(std::string_view fileBytes, KeyTable& keyTable,
                           GlobalParameterBlock& globalBlock, ProgressLog& log,
                           KeyDefinitionDiagnostics* diagnostics = nullptr);

// Fills one level (1 or 2) of `record` from a code text, storing at most `capacity` - 1 codes.
// Returns how the conversion ended.
CodeTextOutcome ConvertCodeText(KeyRecord& record, int level, std::string_view text, int capacity);

// One code from two hexadecimal characters; 0 when the pair is rejected.
std::uint8_t HexPairToCode(char first, char second);

}  // namespace tdxx
