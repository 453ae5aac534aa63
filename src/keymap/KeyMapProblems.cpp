#include "keymap/KeyMapProblems.h"

#include <algorithm>
#include <set>

#include "files/KeyLevelLayout.h"
#include "files/PrivateProfile.h"

namespace tdxx {
namespace {

constexpr const char* kModeNames[2] = {"L1_MacroMode", "L2_MacroMode"};
constexpr const char* kAutoRepeatNames[2] = {"L1_AutoRepeat", "L2_AutoRepeat"};

std::string Hex(std::uint8_t code) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[code >> 4], kDigits[code & 0x0F]};
}

bool IsUpperHexLetter(char c) {
  return c >= 'A' && c <= 'F';
}

bool IsLowerHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string CodeNumber(std::size_t pairIndex) {
  return "code " + std::to_string(pairIndex + 1);
}

// Why a rejected pair gave no code.
std::string RejectedPairReason(const CodeTextOutcome& outcome) {
  const std::string pair{outcome.first, outcome.second};
  const std::string where = CodeNumber(outcome.pairIndex) + " " + Quoted(pair);
  if (pair == "00") {
    return where + " is 00, which no key sends";
  }
  if (IsUpperHexLetter(outcome.second) &&
      (IsLowerHexDigit(outcome.first) || IsUpperHexLetter(outcome.first))) {
    return where + " has an uppercase second digit, which is read as another code and rejected";
  }
  if ((IsLowerHexDigit(outcome.first) || IsUpperHexLetter(outcome.first)) &&
      IsLowerHexDigit(outcome.second)) {
    return where + " is above e4 and cannot be stored";
  }
  return where + " is not a hexadecimal code";
}

void AddNumberProblem(std::vector<KeyMapProblem>& problems, int key, int level, const char* name,
                      const ProfileValueText& text) {
  if (text && !text->empty() && !ParseProfileInt(*text)) {
    problems.push_back({key, level,
                        std::string(name) + "=" + *text +
                            " is not a number and is "
                            "read as its default"});
  }
}

void AddLevelProblems(std::vector<KeyMapProblem>& problems, int key, int level,
                      const LevelReading& reading, const KeyRecord& record) {
  // A level without codes does nothing, whatever its mode says.
  if (!reading.codes || reading.codes->empty()) {
    return;
  }
  const std::size_t l = static_cast<std::size_t>(level - 1);
  AddNumberProblem(problems, key, level, kModeNames[l], reading.mode);
  AddNumberProblem(problems, key, level, kAutoRepeatNames[l], reading.autoRepeat);
  if (reading.modeValue < 0 || reading.modeValue > 3) {
    problems.push_back({key, level,
                        std::string(kModeNames[l]) + "=" + std::to_string(reading.modeValue) +
                            " is not a mode (0 to 3); no mode flag is set"});
  }
  if (reading.modifierPattern) {
    return;
  }
  const std::string& text = *reading.codes;
  const KeyLevelLayout& layout = level == 1 ? kLevel1Layout : kLevel2Layout;
  const std::uint8_t length = record.bytes[layout.length];
  const CodeTextOutcome& outcome = reading.conversion;
  const std::string nothingSent = "; the level sends nothing";
  if (length == 0) {
    switch (outcome.stop) {
      case CodeTextStop::kCapacity: {
        const std::size_t codes = text.size() / 2;
        const int room = reading.capacity - 1;
        std::string reason = std::to_string(codes) + " codes are more than the level holds (" +
                             std::to_string(room) + ")";
        if (level == 1 && reading.capacity < static_cast<int>(KeyRecord::kLevel1CodesSize)) {
          reason += ": level 1 has room for 111 codes only because level 2 is not empty";
        }
        if (reading.cutToMaximum) {
          reason += " (the text is also longer than the 1023 characters read)";
        }
        problems.push_back({key, level, reason + nothingSent});
        break;
      }
      case CodeTextStop::kRejectedPair:
        problems.push_back({key, level, RejectedPairReason(outcome) + nothingSent});
        break;
      case CodeTextStop::kEnded:
        problems.push_back(
            {key, level, "the code text " + Quoted(text) + " holds no whole code" + nothingSent});
        break;
    }
    return;
  }
  // Sent, but not as written.
  for (std::size_t i = 0; i + 1 < text.size() && i / 2 < outcome.codesWritten; i += 2) {
    const std::uint8_t sent = record.bytes[layout.codes + i / 2];
    const std::string where = CodeNumber(i / 2) + " " + Quoted(text.substr(i, 2));
    if (IsUpperHexLetter(text[i + 1])) {
      problems.push_back(
          {key, level, where + " has an uppercase second digit: it is sent as " + Hex(sent)});
    } else if (!IsLowerHexDigit(text[i + 1]) ||
               !(IsLowerHexDigit(text[i]) || IsUpperHexLetter(text[i]))) {
      problems.push_back({key, level, where + " is not hexadecimal: it is sent as " + Hex(sent)});
    }
  }
  if (outcome.unpairedIgnored) {
    problems.push_back({key, level,
                        "the last character " + Quoted(text.substr(text.size() - 1)) +
                            " has no second digit and is ignored"});
  }
}

bool HasCodes(const KeyReading& reading) {
  for (const LevelReading& level : reading.levels) {
    if (level.codes && !level.codes->empty())
      return true;
  }
  return false;
}

}  // namespace

std::vector<KeyMapProblem> FindKeyMapProblems(const KeyDefinitionDiagnostics& diagnostics,
                                              const KeyTable& table, int deviceKeyLimit) {
  std::vector<KeyMapProblem> problems;
  if (!diagnostics.fileRead) {
    return problems;
  }
  const auto& names = KeyDefinitionGlobalNames();
  const std::int32_t numberOfKeys = diagnostics.numberOfKeysValue;
  if (numberOfKeys != 24 && numberOfKeys != 48 && numberOfKeys != 66) {
    const ProfileValueText& given = diagnostics.globals[kGlobalNumberOfKeys];
    problems.push_back({-1, 0,
                        (given ? "Number_Of_Keys=" + *given + " is not 24, 48 or 66"
                               : std::string("Number_Of_Keys is missing")) +
                            ": Model_Number decides, and the file loads as " +
                            std::to_string(diagnostics.keyCount) + " keys"});
  }
  for (std::size_t g = kGlobalCharacterPacing; g < kGlobalValueCount; ++g) {
    AddNumberProblem(problems, -1, 0, names[g], diagnostics.globals[g]);
    const std::int32_t value = diagnostics.globalValues[g];
    if (value < 0 || value > 255) {
      problems.push_back({-1, 0,
                          std::string(names[g]) + "=" + std::to_string(value) + " is sent as " +
                              std::to_string(value & 0xFF) + " (only its low 8 bits are kept)"});
    }
  }

  for (std::size_t k = 0; k < kKeyTableSize; ++k) {
    const KeyReading& reading = diagnostics.keys[k];
    const int key = static_cast<int>(k);
    if (!reading.sectionPresent) {
      continue;
    }
    AddNumberProblem(problems, key, 0, "KeyType", reading.keyType);
    if (reading.keyTypeIgnored) {
      problems.push_back({key, 0,
                          "KeyType " + std::to_string(reading.keyTypeValue) +
                              " is ignored: two earlier keys already take both of its slots"});
    }
    if (HasCodes(reading) && key >= diagnostics.keyCount) {
      problems.push_back({key, 0,
                          "holds codes but is not sent: the file has " +
                              std::to_string(diagnostics.keyCount) + " keys"});
    } else if (HasCodes(reading) && deviceKeyLimit > 0 && key >= deviceKeyLimit) {
      problems.push_back({key, 0,
                          "holds codes but is not sent: the keypad takes " +
                              std::to_string(deviceKeyLimit) + " keys"});
    }
    for (int level = 1; level <= 2; ++level) {
      AddLevelProblems(problems, key, level, reading.levels[static_cast<std::size_t>(level - 1)],
                       table[k]);
    }
  }
  return problems;
}

int KeysWithProblems(const std::vector<KeyMapProblem>& problems) {
  std::set<int> keys;
  for (const KeyMapProblem& problem : problems) {
    if (problem.key >= 0)
      keys.insert(problem.key);
  }
  return static_cast<int>(keys.size());
}

std::string ProblemWarningLine(const std::vector<KeyMapProblem>& problems) {
  if (problems.empty()) {
    return "";
  }
  const int keys = KeysWithProblems(problems);
  const bool global = keys < static_cast<int>(problems.size()) &&
                      std::any_of(problems.begin(), problems.end(),
                                  [](const KeyMapProblem& p) { return p.key < 0; });
  std::string what;
  if (keys > 0) {
    what = std::to_string(keys) + (keys == 1 ? " key" : " keys");
  }
  if (global) {
    what += keys > 0 ? " and the global settings" : "the global settings";
  }
  return "\r\nWarning: " + what + " will not be programmed as written (see Key Map).\r\n";
}

std::string ProblemText(const KeyMapProblem& problem) {
  if (problem.key < 0) {
    return "Global settings: " + problem.text;
  }
  std::string text = "Key " + std::to_string(problem.key);
  if (problem.level > 0) {
    text += ", level " + std::to_string(problem.level);
  }
  return text + ": " + problem.text;
}

}  // namespace tdxx
