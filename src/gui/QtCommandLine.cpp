#include "gui/QtCommandLine.h"

#include <optional>
#include <string_view>

namespace tdxx {

namespace {

// The toolkit's own options (the window system's and Qt's generic ones). Each may be written
// with one dash or two; QApplication takes them out of the command line itself.
struct ToolkitOption {
  std::string_view name;
  bool takesValue;
  // Names the window system to use.
  bool windowSystem;
};
constexpr ToolkitOption kToolkitOptions[] = {
    {"platform", true, true},
    {"display", true, true},
    {"platformpluginpath", true, false},
    {"platformtheme", true, false},
    {"plugin", true, false},
    {"qwindowgeometry", true, false},
    {"geometry", true, false},
    {"qwindowtitle", true, false},
    {"title", true, false},
    {"qwindowicon", true, false},
    {"icon", true, false},
    {"session", true, false},
    {"style", true, false},
    {"stylesheet", true, false},
    {"name", true, false},
    {"visual", true, false},
    {"reverse", false, false},
    {"widgetcount", false, false},
    {"testability", false, false},
    {"nograb", false, false},
    {"dograb", false, false},
};
// These also take their value after '=' (-style=fusion).
constexpr std::string_view kToolkitJoinedOptions[] = {"style", "stylesheet", "qmljsdebugger"};

// How a toolkit option sits on the command line.
struct ToolkitMatch {
  // Its value is the next word.
  bool valueFollows = false;
  bool windowSystem = false;
};

// The toolkit option `arg` is, if it is one.
std::optional<ToolkitMatch> FindToolkitOption(std::string_view arg) {
  if (arg.size() < 2 || arg[0] != '-')
    return std::nullopt;
  arg.remove_prefix(arg[1] == '-' ? 2 : 1);
  for (std::string_view name : kToolkitJoinedOptions) {
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=')
      return ToolkitMatch{};
  }
  for (const ToolkitOption& option : kToolkitOptions) {
    if (arg == option.name)
      return ToolkitMatch{option.takesValue, option.windowSystem};
  }
  return std::nullopt;
}

void AddKinds(std::string_view list, std::vector<std::string>& kinds) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = list.find(',', start);
    const std::size_t end = comma == std::string_view::npos ? list.size() : comma;
    if (end > start)
      kinds.emplace_back(list.substr(start, end - start));
    if (comma == std::string_view::npos)
      break;
    start = comma + 1;
  }
}

// An option of ours that takes a value, as --name=VALUE or --name VALUE; `take` stores the value
// and returns false (with the options' error set) when it cannot be used.
struct ValueOption {
  std::string_view name;
  bool (*take)(ProgramOptions& options, std::string_view value);
};

bool TakeKinds(ProgramOptions& options, std::string_view list) {
  const std::size_t before = options.simulatedKinds.size();
  AddKinds(list, options.simulatedKinds);
  if (options.simulatedKinds.size() == before)
    options.error = "--simulate needs a list of device kinds";
  return options.error.empty();
}

bool TakeRecordPath(ProgramOptions& options, std::string_view path) {
  if (path.empty())
    options.error = "--record-hid needs a file name";
  options.recordHidPath = path;
  return options.error.empty();
}

bool TakeKeysFile(ProgramOptions& options, std::string_view path) {
  if (path.empty())
    options.error = "--keys needs a key-definition file";
  options.keysFile = path;
  return options.error.empty();
}

constexpr ValueOption kValueOptions[] = {
    {"--simulate", TakeKinds},
    {"--record-hid", TakeRecordPath},
    {"--keys", TakeKeysFile},
};

}  // namespace

ProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
  ProgramOptions options;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      options.arguments.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      options.showHelp = true;
      continue;
    }
    if (arg == "--version") {
      options.showVersion = true;
      continue;
    }
    bool ours = false;
    for (const ValueOption& option : kValueOptions) {
      if (arg == option.name) {
        ours = true;
        if (!option.take(options, i + 1 < argc ? std::string_view(argv[++i]) : std::string_view()))
          return options;
      } else if (arg.size() > option.name.size() &&
                 arg.substr(0, option.name.size()) == option.name &&
                 arg[option.name.size()] == '=') {
        ours = true;
        if (!option.take(options, arg.substr(option.name.size() + 1)))
          return options;
      }
    }
    if (ours)
      continue;
    if (const std::optional<ToolkitMatch> toolkit = FindToolkitOption(arg)) {
      options.toolkitWindowSystemGiven |= toolkit->windowSystem;
      if (toolkit->valueFollows)
        ++i;
      continue;
    }
    options.error = "unknown option '" + std::string(arg) + "'";
    return options;
  }
  return options;
}

std::string ProgramHelpText() {
  return "Usage: tdxxload [OPTION...] [FILE]\n"
         "Send key definitions and firmware to Quorvane programmable USB keypads.\n"
         "\n"
         "With FILE (a .ckd, .upg or .bin file) the loader reads it at start, connects\n"
         "one second later, downloads it and, after a successful key or firmware\n"
         "download, closes by itself.\n"
         "\n"
         "Options:\n"
         "  --simulate=KIND[,KIND...]  talk to simulated devices instead of USB hardware\n"
         "                             (tdxxload-cli --help lists the kinds)\n"
         "  --record-hid=FILE          write every HID call and its result to FILE\n"
         "                             (JSON lines), for a bug report\n"
         "  --keys=FILE                open the Key Map window on the key-definition FILE\n"
         "  -h, --help                 show this help and exit\n"
         "  --version                  show the version and exit\n"
         "  --                         end of the options (for a FILE beginning with '-')\n"
         "\n"
         "The toolkit's own options (-platform NAME, -display DISPLAY, -style NAME, ...)\n"
         "are passed on to it.\n"
         "\n"
         "Exit status: 0 when the window has closed, 1 when the window cannot be\n"
         "opened or start-up fails, 2 for a usage error.\n"
         "\n"
         "tdxxload-cli does the same from a terminal, without a display.\n";
}

std::string ProgramVersionText() {
  return "tdxxload " TDXX_VERSION "\n";
}

std::string MissingWindowSystem(const ProgramOptions& options,
                                const char* (*getenv)(const char* name)) {
  if (options.toolkitWindowSystemGiven)
    return {};
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = getenv(name);
    if (value != nullptr && *value != '\0')
      return {};
  }
  return "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set); "
         "tdxxload-cli works without one";
}

}  // namespace tdxx
