// The Open File command: choose a data file and load it into the main window's state.
#include <filesystem>
#include <string>
#include <system_error>

#include "app/CommandScope.h"
#include "app/DataFileType.h"
#include "app/KeyDefinitionLoad.h"
#include "app/MainWindowCommands.h"
#include "files/FirmwareReader.h"

namespace tdxx {

namespace {

constexpr const char* kOpenTitle = "Open CKD file (or other file type)";
constexpr const char* kOpenFilter =
    "Custom Key Definitions (*.ckd)|*.ckd|Flash Drive Copy (*.bin)|*.bin|Firmware Upgrade "
    "(*.upg)|*.upg|Any File(*.*)|*.*";
constexpr int kFilterKeyDefinitions = 1;
constexpr int kFilterFlashDriveCopy = 2;
constexpr int kFilterFirmware = 3;

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// "\r\nNew firmware version will be: 1.7x." for the version byte 0x17.
std::string VersionLine(std::uint8_t versionByte) {
  return "\r\nNew firmware version will be: " + std::to_string(versionByte >> 4) + "." +
         std::to_string(versionByte & 0x0F) + "x.";
}

}  // namespace

void MainWindowCommands::btnOpenClick() {
  CommandScope scope(port_, commandDepth_);
  MainWindowState& state = app_.state;

  state.loadedFileType = kFileNone;
  state.keyCount = 0;
  port_.SetFileNameText("");
  port_.SetFileTypeText("");
  state.dataFileName.clear();
  port_.RepaintNow();

  OpenFileRequest request;
  request.title = kOpenTitle;
  request.filter = kOpenFilter;
  request.defaultExtension = "*.ckd";
  request.startFolder = state.macroFilesFolder;
  const DeviceKind kind = state.deviceKind;
  if (kind == 3 || kind == 4 || kind == 13) {
    request.filterIndex = kFilterFirmware;
  } else if (app_.driveLocator.FindKeypadDrive() || state.downloadMode == 2) {
    request.filterIndex = kFilterFlashDriveCopy;
  } else {
    request.filterIndex = kFilterKeyDefinitions;
  }

  port_.LogProgress("\r\nOpen file.  ");
  const std::optional<std::string> chosen = port_.ChooseFileToOpen(request);
  if (!chosen) {
    port_.LogProgress("\r\nFile read Canceled.\r\n");
    return;
  }
  const std::string& path = *chosen;
  lastChosenFile_ = path;
  port_.SetFileNameText(path);
  state.dataFileName = path;

  // The readers take paths of at most 511 bytes; a longer one is refused before any of them
  // runs and counts as a failed read.
  const bool pathTooLong = path.size() > kMaxReaderPathBytes;

  switch (DataFileTypeOf(path)) {
    case kFileUpg: {
      app_.firmware.versionByte = 0;
      state.loadedFileType = kFileUpg;
      port_.SetFileTypeText("Device Firmware Upgrade (.UPG)");
      port_.RepaintNow();
      if (pathTooLong)
        port_.LogProgress("\r\nFile path too long.\r\n");
      if (!pathTooLong && ReadFirmwareFile(path, app_.firmware, port_) == 0) {
        port_.LogProgress("File read SUCCESSFUL.\r\n");
        port_.LogProgress(VersionLine(app_.firmware.versionByte));
      } else {
        state.loadedFileType = kFileNone;
        port_.LogProgress("\r\nFile read FAILED!\r\n");
      }
      break;
    }
    case kFileCkd: {
      state.loadedFileType = kFileCkd;
      port_.SetFileTypeText("Tasterdeck Key Definitions (.CKD)");
      port_.RepaintNow();
      if (pathTooLong)
        port_.LogProgress("\r\nFile path too long.\r\n");
      LoadKeyDefinitionsAsOpened(app_, port_, path, !pathTooLong);
      break;
    }
    case kFileBin: {
      state.loadedFileType = kFileBin;
      port_.SetFileTypeText("Key Definitions for flash drive copy (.BIN)");
      port_.RepaintNow();
      if (pathTooLong) {
        // Nothing could copy it later either: do not count it as loaded.
        state.loadedFileType = kFileNone;
        port_.LogProgress("\r\nFile path too long.\r\n");
      } else if (FileExists(path)) {
        port_.LogProgress("\r\nFile exists for copy. Must use Flash Drive Copy!");
      } else {
        port_.LogProgress("\r\nFile does not exist.\r\n");
      }
      break;
    }
    default:
      state.loadedFileType = kFileNone;
      port_.LogProgress("\r\nINVALID FILE TYPE.\r\n");
      break;
  }
}

}  // namespace tdxx
