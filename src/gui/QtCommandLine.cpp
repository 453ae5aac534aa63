#include "gui/QtCommandLine.h"

#include <string_view>

namespace tdxx {

namespace {

constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kRecordHid = "--record-hid";
constexpr std::string_view kKeys = "--keys";

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

}  // namespace

ProgramOptions ParseProgramOptions(int argc, const char* const* argv) {
  ProgramOptions options;
  const auto takeKinds = [&options](std::string_view list) {
    const std::size_t before = options.simulatedKinds.size();
    AddKinds(list, options.simulatedKinds);
    if (options.simulatedKinds.size() == before)
      options.error = "--simulate needs a list of device kinds";
    return options.error.empty();
  };
  const std::string withValue = std::string(kSimulate) + "=";
  const std::string recordWithValue = std::string(kRecordHid) + "=";
  const auto takeRecordPath = [&options](std::string_view path) {
    if (path.empty())
      options.error = "--record-hid needs a file name";
    options.recordHidPath = path;
    return options.error.empty();
  };
  const std::string keysWithValue = std::string(kKeys) + "=";
  const auto takeKeysFile = [&options](std::string_view path) {
    if (path.empty())
      options.error = "--keys needs a key-definition file";
    options.keysFile = path;
    return options.error.empty();
  };
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (optionsEnded) {
      options.arguments.emplace_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == kSimulate) {
      if (!takeKinds(i + 1 < argc ? std::string_view(argv[++i]) : std::string_view()))
        return options;
    } else if (arg == kRecordHid) {
      if (!takeRecordPath(i + 1 < argc ? std::string_view(argv[++i]) : std::string_view()))
        return options;
    } else if (arg.substr(0, recordWithValue.size()) == recordWithValue) {
      if (!takeRecordPath(arg.substr(recordWithValue.size())))
        return options;
    } else if (arg == kKeys) {
      if (!takeKeysFile(i + 1 < argc ? std::string_view(argv[++i]) : std::string_view()))
        return options;
    } else if (arg.substr(0, keysWithValue.size()) == keysWithValue) {
      if (!takeKeysFile(arg.substr(keysWithValue.size())))
        return options;
    } else if (arg.substr(0, withValue.size()) == withValue) {
      if (!takeKinds(arg.substr(withValue.size())))
        return options;
    } else {
      options.arguments.emplace_back(arg);
    }
  }
  return options;
}

}  // namespace tdxx
