#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tdxx {

// A keypad model a new key-definition file can be made for.
struct NewFileModel {
  std::string_view id;    // "td-a", as the command line names it
  std::string_view name;  // "TD-A"
  int keyCount;           // its Number_Of_Keys
};

std::span<const NewFileModel> NewFileModels();
// The model of an id (case ignored), or null.
const NewFileModel* FindNewFileModel(std::string_view id);

// The text of a new file for `model` in the layout of the example files: a comment line, the
// GLOBAL_PARAMETERS section with every value, then KEY0 to KEYn-1 with empty levels; CR LF.
std::string NewKeyDefinitionText(const NewFileModel& model);

}  // namespace tdxx
