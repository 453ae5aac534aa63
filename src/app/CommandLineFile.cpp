#include "app/CommandLineFile.h"

#include <filesystem>
#include <system_error>

#include "app/DataFileType.h"
#include "app/KeyDefinitionLoad.h"
#include "files/FirmwareReader.h"

namespace tdxx {
namespace {

constexpr const char* kReadSucceeded = "\r\nFile read successfully.\r\n";
constexpr const char* kReadFailed = "\r\nFile read failed.\r\n";

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

void LoadCommandLineFile(Application& app, MainWindowPort& port, const std::string& argument) {
  MainWindowState& state = app.state;
  port.LogProgress("Open data file (from command line):");
  port.SetFileNameText(argument);
  state.dataFileName = argument;

  // The readers take paths of at most 511 bytes; a longer one counts as a failed read without
  // running them (a BIN file could not be copied either).
  const bool pathTooLong = argument.size() > kMaxReaderPathBytes;
  if (pathTooLong && DataFileTypeOf(argument) != kFileNone)
    port.LogProgress("\r\nFile path too long.\r\n");

  switch (DataFileTypeOf(argument)) {
    case kFileUpg:
      state.loadedFileType = kFileUpg;
      port.SetFileTypeText("Device Firmware Upgrade(.UPG)");
      if (!pathTooLong && ReadFirmwareFile(argument, app.firmware, port) == 0) {
        port.LogProgress(kReadSucceeded);
      } else {
        state.loadedFileType = kFileNone;
        port.LogProgress(kReadFailed);
      }
      break;
    case kFileCkd:
      state.loadedFileType = kFileCkd;
      port.SetFileTypeText("Tasterdeck Key Definitions (.CKD)");
      {
        std::vector<KeyMapProblem> problems;
        state.keyCount = pathTooLong ? 0 : ReadKeyDefinitionsIntoApp(app, port, argument, problems);
        port.LogProgress(state.keyCount != 0 ? kReadSucceeded : kReadFailed);
        if (!problems.empty())
          port.LogProgress(ProblemWarningLine(problems));
        break;
      }
    case kFileBin:
      state.loadedFileType = pathTooLong ? kFileNone : kFileBin;
      port.SetFileTypeText("Key Definitions for flash drive copy (.BIN)");
      port.LogProgress(!pathTooLong && FileExists(argument) ? kReadSucceeded : kReadFailed);
      break;
    default:
      port.LogProgress("\r\nERROR: INVALID FILE TYPE!\r\n");
      break;
  }
}

bool StartupDownloadWanted(const MainWindowState& state) {
  return (state.loadedFileType == kFileCkd && state.keyCount > 0) ||
         state.loadedFileType == kFileBin || state.loadedFileType == kFileUpg;
}

}  // namespace tdxx
