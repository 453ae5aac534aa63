#include "cli/KeysCommand.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <ostream>

#include "cli/KeyMapReport.h"
#include "keymap/KeyCodeTextInput.h"
#include "keymap/KeyMapDocument.h"

namespace tdxx::cli {
namespace {

// "KEY.LEVEL=VALUE" or "KEY=VALUE" taken apart.
struct Target {
  int key = -1;
  int level = 0;
  std::string value;
};

std::optional<int> Number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return value;
}

// Parses `argument` of `option`; false with the message in `error`.
bool ParseTarget(const std::string& option, const std::string& argument, bool withLevel,
                 Target& target, std::string& error) {
  const std::size_t equals = argument.find('=');
  const std::string form = withLevel ? "KEY.LEVEL=" : "KEY=";
  if (equals == std::string::npos) {
    error = option + " " + argument + ": expected " + form + "VALUE";
    return false;
  }
  const std::string_view place = std::string_view(argument).substr(0, equals);
  target.value = argument.substr(equals + 1);
  std::string_view keyText = place;
  if (withLevel) {
    const std::size_t dot = place.find('.');
    const std::optional<int> level =
        dot == std::string_view::npos ? std::nullopt : Number(place.substr(dot + 1));
    if (!level || (*level != 1 && *level != 2)) {
      error = option + " " + argument + ": the level is 1 or 2 (" + form + "VALUE)";
      return false;
    }
    target.level = *level;
    keyText = place.substr(0, dot);
  }
  const std::optional<int> key = Number(keyText);
  if (!key || *key < 0 || *key >= static_cast<int>(kKeyTableSize)) {
    error = option + " " + argument + ": the key is a number from 0 to 65";
    return false;
  }
  target.key = *key;
  return true;
}

// Applies every edit of the command line in order; false at the first one refused.
bool ApplyEdits(KeyMapDocument& document, const KeysOptions& options, std::ostream& errors) {
  std::string error;
  const auto fail = [&](const std::string& message) {
    errors << "keys: " << message << "\n";
    return false;
  };
  const auto refuse = [&](const std::string& option, const std::string& argument,
                          const std::string& reason) {
    return fail(option + " " + argument + ": " + reason);
  };
  for (const std::string& set : options.sets) {
    Target target;
    if (!ParseTarget("--set", set, true, target, error))
      return fail(error);
    const CodeTextResult argument = CodeTextForArgument(target.value);
    if (!argument.ok)
      return refuse("--set", set, argument.error);
    const EditResult result = document.SetCodeText(target.key, target.level, argument.codeText);
    if (!result.ok)
      return refuse("--set", set, result.reason);
  }
  for (const std::string& mode : options.modes) {
    Target target;
    if (!ParseTarget("--mode", mode, true, target, error))
      return fail(error);
    const std::optional<int> value = Number(target.value);
    const EditResult result = value ? document.SetMode(target.key, target.level, *value)
                                    : EditResult::Refused("the mode is a number from 0 to 3");
    if (!result.ok)
      return refuse("--mode", mode, result.reason);
  }
  for (const std::string& repeat : options.autoRepeats) {
    Target target;
    if (!ParseTarget("--auto-repeat", repeat, true, target, error))
      return fail(error);
    if (target.value != "0" && target.value != "1")
      return refuse("--auto-repeat", repeat, "auto-repeat is 0 or 1");
    const EditResult result = document.SetAutoRepeat(target.key, target.level, target.value == "1");
    if (!result.ok)
      return refuse("--auto-repeat", repeat, result.reason);
  }
  for (const std::string& keyType : options.keyTypes) {
    Target target;
    if (!ParseTarget("--key-type", keyType, false, target, error))
      return fail(error);
    const std::optional<int> value = Number(target.value);
    const EditResult result = value ? document.SetKeyType(target.key, *value)
                                    : EditResult::Refused("the key type is 0, 1 or 2");
    if (!result.ok)
      return refuse("--key-type", keyType, result.reason);
  }
  for (const std::string& global : options.globals) {
    const std::size_t equals = global.find('=');
    if (equals == std::string::npos)
      return refuse("--global", global, "expected NAME=VALUE");
    const EditResult result =
        document.SetGlobal(global.substr(0, equals), global.substr(equals + 1));
    if (!result.ok)
      return refuse("--global", global, result.reason);
  }
  return true;
}

bool HasEdits(const KeysOptions& options) {
  return !options.sets.empty() || !options.modes.empty() || !options.autoRepeats.empty() ||
         !options.keyTypes.empty() || !options.globals.empty();
}

}  // namespace

CLI::App* AddKeysSubcommand(CLI::App& cli, KeysOptions& options) {
  CLI::App* keys = cli.add_subcommand(
      "keys",
      "Show a .ckd file's keys as names, chords and typed text with what the keypad will not "
      "get; or edit it (--set, --mode, ...) and save it, as the Key Map window does");
  keys->add_option("FILE", options.file, "The key-definition file");
  keys->add_flag("--json", options.json, "Print one JSON object");
  keys->add_option("--new", options.newModel, "Make a new file for a TD-A, TD-B or WK-C")
      ->check(CLI::IsMember({"td-a", "td-b", "wk-c"}, CLI::ignore_case));
  keys->add_option("--output", options.output, "Write the edited file here instead of FILE");
  keys->add_option("--set", options.sets,
                   "KEY.LEVEL=SPEC; SPEC is codes:HEX | keys:CHORD (Ctrl+Shift+F5) | "
                   "text:STRING (typed on a US layout) | none");
  keys->add_option("--mode", options.modes, "KEY.LEVEL=0|1|2|3");
  keys->add_option("--auto-repeat", options.autoRepeats, "KEY.LEVEL=0|1");
  keys->add_option("--key-type", options.keyTypes, "KEY=0|1|2");
  keys->add_option("--global", options.globals,
                   "NAME=VALUE: Character_Pacing, Key_Roll_Over, LED_Function, LED2_Function, "
                   "LED3_Function, USB_Device_Type, Number_Of_Keys, Model_Number");
  keys->footer(
      "Exit status without edits: 0 no problems, 1 problems, 2 the file cannot be read.\n"
      "With edits: 0 saved and read back equal, 1 the save failed, 2 a bad SPEC, key or\n"
      "value (the message names it).");
  return keys;
}

int RunKeys(const KeysOptions& options, std::ostream& out, std::ostream& errors) {
  std::optional<KeyMapDocument> document;
  if (!options.newModel.empty()) {
    const NewFileModel* model = FindNewFileModel(options.newModel);
    if (model == nullptr || options.output.empty() || !options.file.empty()) {
      errors << "keys: --new td-a|td-b|wk-c needs --output OUT and no FILE\n";
      return kKeysUnusable;
    }
    document = KeyMapDocument::New(*model);
  } else {
    if (options.file.empty()) {
      errors << "keys: FILE is required (or --new td-a|td-b|wk-c --output OUT)\n";
      return kKeysUnusable;
    }
    std::string error;
    document = KeyMapDocument::Open(options.file, error);
    if (!document) {
      errors << "keys: " << error << "\n";
      return kKeysUnusable;
    }
  }

  const bool save = HasEdits(options) || !options.newModel.empty() || !options.output.empty();
  int status = document->problems().empty() ? kKeysClean : kKeysProblems;
  if (save) {
    if (!ApplyEdits(*document, options, errors))
      return kKeysUnusable;
    const std::string path = options.output.empty() ? options.file : options.output;
    const SaveOutcome outcome = SaveKeyMapDocument(*document, path);
    if (!outcome.saved)
      errors << "keys: " << outcome.message << "\n";
    status = outcome.saved ? kKeysClean : kKeysProblems;
  }
  if (options.json) {
    out << KeyMapJson(*document, status).dump() << "\n";
  } else {
    PrintKeyMap(out, *document);
  }
  return status;
}

}  // namespace tdxx::cli
