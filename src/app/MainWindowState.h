#pragma once

#include <cstdint>
#include <string>

#include "hid/HidTransport.h"

namespace tdxx {

// What the main window remembers between commands. No device connection outlives a command.
struct MainWindowState {
  // 0 no data file, 1 CKD key definitions, 2 BIN flash-drive copy, 3 UPG firmware.
  std::int32_t loadedFileType = 0;
  std::int32_t keyCount = 0;
  // 0 standard, 1 PRG/TMode, 2 flash drive.
  std::int32_t downloadMode = 0;
  DeviceKind deviceKind = 0;
  bool taskDone = false;
  std::string dataFileName;
  std::string macroFilesFolder;
  bool useMyDocuments = true;

  // Program-wide paths.
  std::string locationIniPath;
  std::string settingsFolder;
};

inline constexpr std::int32_t kFileNone = 0;
inline constexpr std::int32_t kFileCkd = 1;
inline constexpr std::int32_t kFileBin = 2;
inline constexpr std::int32_t kFileUpg = 3;

}  // namespace tdxx
