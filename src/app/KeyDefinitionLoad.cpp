#include "app/KeyDefinitionLoad.h"

#include <memory>

#include "files/KeyDefinitionReader.h"

namespace tdxx {

int DeviceKeyLimit(DeviceKind kind) {
  // The kinds the downloads send at most 24 keys to.
  return kind == 2 || kind == 5 || kind == 10 ? 24 : 0;
}

int ReadKeyDefinitionsIntoApp(Application& app, ProgressLog& log, const std::string& path,
                              std::vector<KeyMapProblem>& problems) {
  auto diagnostics = std::make_unique<KeyDefinitionDiagnostics>();
  const int keyCount =
      ReadKeyDefinitionFile(path, app.keyTable, app.globalBlock, log, diagnostics.get());
  problems = keyCount == 0 ? std::vector<KeyMapProblem>()
                           : FindKeyMapProblems(*diagnostics, app.keyTable,
                                                DeviceKeyLimit(app.state.deviceKind));
  return keyCount;
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
