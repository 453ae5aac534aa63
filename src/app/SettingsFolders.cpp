#include "app/SettingsFolders.h"

#include <filesystem>
#include <system_error>

#include "files/PrivateProfile.h"

namespace tdxx {

namespace {

void CreateFolderIfMissing(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) {
    std::filesystem::create_directory(path, error);
  }
}

}  // namespace

SettingsFolders PrepareSettingsFolders(const AppEnvironment& environment) {
  SettingsFolders folders;
  folders.locationIniPath = environment.programFolder + "Location.ini";
  folders.useMyDocuments =
      ReadProfileInt(folders.locationIniPath, kSettingsSection, "My_Documents", 1) != 0;

  std::string chain =
      folders.useMyDocuments ? environment.userDocumentsFolder : environment.sharedDocumentsFolder;
  // A fresh Linux account may not have its documents folder yet (a Windows one always does);
  // make it so that the chain below can be created.
  if (!chain.empty()) {
    std::error_code error;
    std::filesystem::create_directories(chain, error);
    while (!chain.empty() && chain.back() == '/')
      chain.pop_back();
  }

  chain += "/Quorvane";
  CreateFolderIfMissing(chain);
  chain += "/KeysmithTDxx";
  folders.settingsFolder = chain;
  CreateFolderIfMissing(chain);
  chain += "/Macro_Files";
  folders.macroFilesFolder = chain;
  CreateFolderIfMissing(chain);
  return folders;
}

}  // namespace tdxx
