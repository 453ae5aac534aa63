#pragma once

#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "keymap/KeyMapDocument.h"

namespace tdxx::cli {

// The problems as JSON: [{key, level, text}], key and level null where they name no key or level.
nlohmann::json ProblemsJson(const std::vector<KeyMapProblem>& problems);
// "Problems:" and one line each, or "No problems: the keypad gets the file as written."
void PrintProblems(std::ostream& out, const std::vector<KeyMapProblem>& problems);

// The model the reader's file-type line names: "TD-A", "TD-B", "WK-C", "917", "916", "unknown".
std::string ModelOfTypeLine(const std::string& typeLine);

// A document's keys (up to the key count), global settings and problems, as `keys` shows them.
nlohmann::json KeyMapJson(const KeyMapDocument& document, int exitCode);
void PrintKeyMap(std::ostream& out, const KeyMapDocument& document);

}  // namespace tdxx::cli
