#pragma once

#include <string>
#include <vector>

#include "files/KeyDefinitionDiagnostics.h"
#include "files/KeyTable.h"

namespace tdxx {

// One thing the keypad will not get as the file writes it.
struct KeyMapProblem {
  int key = -1;   // 0 to 65; -1 for the global settings
  int level = 0;  // 1 or 2; 0 for the key (or the global settings) as a whole
  std::string text;
  bool operator==(const KeyMapProblem&) const = default;
};

// The problems of what the reader found (`diagnostics`) and filled (`table`). With
// `deviceKeyLimit` above 0 (a connected keypad that takes fewer keys than the file has), the keys
// from that number on that hold codes are named too.
std::vector<KeyMapProblem> FindKeyMapProblems(const KeyDefinitionDiagnostics& diagnostics,
                                              const KeyTable& table, int deviceKeyLimit = 0);

// How many different keys the problems name.
int KeysWithProblems(const std::vector<KeyMapProblem>& problems);

// "\r\nWarning: N keys will not be programmed as written (see Key Map).\r\n", or empty when
// there are no problems.
std::string ProblemWarningLine(const std::vector<KeyMapProblem>& problems);

// "Key 3, level 1: ..." / "Key 3: ..." / "Global settings: ...".
std::string ProblemText(const KeyMapProblem& problem);

}  // namespace tdxx
