#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace tdxx::cli {

// Exit statuses of `keys`.
inline constexpr int kKeysClean = 0;     // no problems; with edits: saved and read back equal
inline constexpr int kKeysProblems = 1;  // problems; with edits: the save failed
inline constexpr int kKeysUnusable = 2;  // the file cannot be read, or a bad SPEC, key or value

struct KeysOptions {
  std::string file;
  bool json = false;
  std::string newModel;  // td-a, td-b or wk-c
  std::string output;
  std::vector<std::string> sets;         // KEY.LEVEL=SPEC
  std::vector<std::string> modes;        // KEY.LEVEL=N
  std::vector<std::string> autoRepeats;  // KEY.LEVEL=0|1
  std::vector<std::string> keyTypes;     // KEY=0|1|2
  std::vector<std::string> globals;      // NAME=VALUE
};

// Adds the `keys` subcommand with its options to `cli`.
CLI::App* AddKeysSubcommand(CLI::App& cli, KeysOptions& options);

// Shows a key-definition file in a person's terms, or edits it and saves it as the Key Map
// window does, then shows the result.
int RunKeys(const KeysOptions& options, std::ostream& out, std::ostream& errors);

}  // namespace tdxx::cli
