#include "app/SettingsFolders.h"

#include <filesystem>
#include <system_error>

#include "files/PrivateProfile.h"

namespace tdxx {

namespace {

// In the folder shared by all users, every member of the group must be able to write the
// settings: folders are group-writable and keep the set-group-ID bit, so what is made inside
// belongs to the group too. Only the folder's owner can change its mode; others leave it.
constexpr auto kSharedFolderPermissions =
    std::filesystem::perms::owner_all | std::filesystem::perms::group_all |
    std::filesystem::perms::others_read | std::filesystem::perms::others_exec |
    std::filesystem::perms::set_gid;

void CreateFolderIfMissing(const std::string& path, bool shared) {
  std::error_code error;
  if (!std::filesystem::is_directory(path, error)) {
    std::filesystem::create_directory(path, error);
  }
  if (shared) {
    const auto status = std::filesystem::status(path, error);
    if (!error && (status.permissions() & kSharedFolderPermissions) != kSharedFolderPermissions)
      std::filesystem::permissions(path, kSharedFolderPermissions,
                                   std::filesystem::perm_options::add, error);
  }
}

// Location.ini beside the program when there is one, else the system's.
std::string LocationIniPath(const AppEnvironment& environment) {
  const std::string beside = environment.programFolder + "Location.ini";
  std::error_code error;
  if (std::filesystem::exists(beside, error) || environment.systemConfigFolder.empty())
    return beside;
  return environment.systemConfigFolder + "Location.ini";
}

}  // namespace

SettingsFolders PrepareSettingsFolders(const AppEnvironment& environment) {
  SettingsFolders folders;
  folders.locationIniPath = LocationIniPath(environment);
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

  const bool shared = !folders.useMyDocuments;
  chain += "/Quorvane";
  CreateFolderIfMissing(chain, shared);
  chain += "/KeysmithTDxx";
  folders.settingsFolder = chain;
  CreateFolderIfMissing(chain, shared);
  chain += "/Macro_Files";
  folders.macroFilesFolder = chain;
  CreateFolderIfMissing(chain, shared);
  return folders;
}

}  // namespace tdxx
