#pragma once

#include <string>

#include "app/AppEnvironment.h"

namespace tdxx {

// The folder chain under the documents folder: <documents>/Quorvane/KeysmithTDxx (the settings
// folder, holding TDxxLoad.ini) and below it Macro_Files (where the open dialog starts).
struct SettingsFolders {
  std::string locationIniPath;
  bool useMyDocuments = true;
  std::string settingsFolder;
  std::string macroFilesFolder;
};

// Reads Location.ini, picks the documents folder and creates the chain one level at a time.
// A folder that cannot be created is not reported; the paths are formed all the same.
SettingsFolders PrepareSettingsFolders(const AppEnvironment& environment);

inline constexpr const char* kSettingsSection = "CONFIGURATION";
inline constexpr const char* kSettingsFileName = "TDxxLoad.ini";

}  // namespace tdxx
