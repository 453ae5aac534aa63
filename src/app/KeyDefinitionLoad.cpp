#include "app/KeyDefinitionLoad.h"

#include <memory>

#include "files/KeyDefinitionReader.h"
#include "hid/DeviceKindTable.h"

namespace tdxx {

int DeviceKeyLimit(DeviceKind kind) {
  return FactsOf(kind).standardKeyLimit;
}

namespace {

std::vector<KeyMapProblem> ProblemsForDetectedKeypad(const Application& app) {
  return FindKeyMapProblems(*app.keyDiagnostics, app.keyTable,
                            DeviceKeyLimit(app.state.deviceKind));
}

}  // namespace

int ReadKeyDefinitionsIntoApp(Application& app, ProgressLog& log, const std::string& path,
                              std::vector<KeyMapProblem>& problems) {
  auto diagnostics = std::make_unique<KeyDefinitionDiagnostics>();
  const int keyCount =
      ReadKeyDefinitionFile(path, app.keyTable, app.globalBlock, log, diagnostics.get());
  problems.clear();
  app.keyDiagnostics.reset();
  if (keyCount != 0) {
    app.keyDiagnostics = std::move(diagnostics);
    problems = ProblemsForDetectedKeypad(app);
  }
  return keyCount;
}

std::vector<KeyMapProblem> LoadedKeyProblems(const Application& app) {
  const MainWindowState& state = app.state;
  if (!app.keyDiagnostics || state.loadedFileType != kFileCkd || state.keyCount == 0)
    return {};
  return ProblemsForDetectedKeypad(app);
}

void WarnOfLoadedKeyProblems(const Application& app, MainWindowPort& port) {
  const std::vector<KeyMapProblem> problems = LoadedKeyProblems(app);
  if (!problems.empty())
    port.LogProgress(ProblemWarningLine(problems));
}

void LoadKeyDefinitionsAsOpened(Application& app, MainWindowPort& port, const std::string& path,
                                bool readable) {
  MainWindowState& state = app.state;
  std::vector<KeyMapProblem> problems;
  state.keyCount = readable ? ReadKeyDefinitionsIntoApp(app, port, path, problems) : 0;
  if (state.keyCount != 0) {
    port.LogProgress("\r\nFile read SUCCESSFUL.\r\n");
    if (!problems.empty())
      port.LogProgress(ProblemWarningLine(problems));
  } else {
    state.loadedFileType = kFileNone;
    port.LogProgress("\r\nFile read FAILED!\r\n");
  }
}

}  // namespace tdxx
