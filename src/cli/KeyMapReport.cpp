#include "cli/KeyMapReport.h"

#include <ostream>

#include "cli/ConsolePort.h"
#include "cli/HexText.h"
#include "files/NarrowText.h"

namespace tdxx::cli {
namespace {

const char* ActionName(KeyAction action) {
  switch (action) {
    case KeyAction::kPress:
      return "press";
    case KeyAction::kRelease:
      return "release";
    case KeyAction::kRaw:
      break;
  }
  return "raw";
}

// File texts may hold any byte; JSON takes valid UTF-8 only.
std::string Utf8(std::string_view text) {
  return NarrowToDisplayUtf8(text);
}

nlohmann::json LevelJson(const LevelView& level) {
  nlohmann::json events = nlohmann::json::array();
  for (const KeyEvent& event : level.events) {
    events.push_back({{"action", ActionName(event.action)},
                      {"code", event.CodeHex()},
                      {"name", Utf8(event.Name())}});
  }
  return {{"level", level.level},
          {"mode", level.mode},
          {"autoRepeat", level.autoRepeat},
          {"codeText", Utf8(level.codeText)},
          {"summary", Utf8(level.summary)},
          {"events", std::move(events)},
          {"sent",
           {{"length", level.sentLength},
            {"codes", HexText(level.sentCodes.data(), level.sentCodes.size())}}}};
}

std::string LevelLine(const LevelView& level) {
  std::string text = level.summary.empty() ? "-" : level.summary;
  std::string details = "mode " + std::to_string(level.mode) + ", flags " +
                        HexText(&level.flags, 1) + " " + FlagBitNames(level.flags);
  if (level.autoRepeat)
    details += ", auto-repeat";
  return text + " (" + details + ")";
}

}  // namespace

nlohmann::json ProblemsJson(const std::vector<KeyMapProblem>& problems) {
  nlohmann::json list = nlohmann::json::array();
  for (const KeyMapProblem& problem : problems) {
    list.push_back({{"key", problem.key >= 0 ? nlohmann::json(problem.key) : nlohmann::json()},
                    {"level", problem.level > 0 ? nlohmann::json(problem.level) : nlohmann::json()},
                    {"text", Utf8(problem.text)}});
  }
  return list;
}

void PrintProblems(std::ostream& out, const std::vector<KeyMapProblem>& problems) {
  if (problems.empty()) {
    out << "No problems: the keypad gets the file as written.\n";
    return;
  }
  out << "Problems (" << problems.size() << "):\n";
  for (const KeyMapProblem& problem : problems)
    out << "  " << ForTerminal(ProblemText(problem)) << "\n";
}

std::string ModelOfTypeLine(const std::string& typeLine) {
  constexpr std::string_view kStart = "CKD File Type: ";
  const std::size_t start = typeLine.find(kStart);
  const std::size_t end = typeLine.find(" (loading");
  if (start == std::string::npos || end == std::string::npos || end < start)
    return "unknown";
  return typeLine.substr(start + kStart.size(), end - start - kStart.size());
}

nlohmann::json KeyMapJson(const KeyMapDocument& document, int exitCode) {
  nlohmann::json global = nlohmann::json::object();
  for (const GlobalSettingView& setting : document.GlobalSettings()) {
    nlohmann::json value;
    if (setting.name == "Model_Number") {
      value["value"] = Utf8(setting.text);
    } else {
      value["value"] = setting.value;
    }
    if (setting.sent)
      value["sent"] = *setting.sent;
    global[setting.name] = std::move(value);
  }
  nlohmann::json keys = nlohmann::json::array();
  for (int k = 0; k < document.keyCount(); ++k) {
    const KeyView key = document.Key(k);
    keys.push_back({{"key", key.key},
                    {"keyType", key.keyType},
                    {"levels", {LevelJson(key.levels[0]), LevelJson(key.levels[1])}}});
  }
  return {{"file", Utf8(document.path())},
          {"keyCount", document.keyCount()},
          {"model", ModelOfTypeLine(document.typeLine())},
          {"global", std::move(global)},
          {"keys", std::move(keys)},
          {"problems", ProblemsJson(document.problems())},
          {"exitCode", exitCode}};
}

void PrintKeyMap(std::ostream& out, const KeyMapDocument& document) {
  out << "File: " << ForTerminal(document.path()) << "\n";
  out << "Model: " << ModelOfTypeLine(document.typeLine()) << " (" << document.keyCount()
      << " keys)\n";
  out << "Global settings:\n";
  for (const GlobalSettingView& setting : document.GlobalSettings()) {
    out << "  " << setting.name << " = " << ForTerminal(setting.text);
    if (setting.sent)
      out << " (sent as " << static_cast<int>(*setting.sent) << ")";
    out << "\n";
  }
  for (int k = 0; k < document.keyCount(); ++k) {
    const KeyView key = document.Key(k);
    out << "Key " << k << (key.hasProblem ? " !" : "") << ": level 1 "
        << ForTerminal(LevelLine(key.levels[0])) << "; level 2 "
        << ForTerminal(LevelLine(key.levels[1]));
    if (key.keyType != 0)
      out << "; key type " << key.keyType;
    out << "\n";
  }
  PrintProblems(out, document.problems());
}

}  // namespace tdxx::cli
