#include "cli/DoctorCommand.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "app/SettingsFolders.h"
#include "cli/InterfaceKindName.h"
#include "hid/DlopenHidBinder.h"
#include "hid/HidLibraryVersion.h"
#include "hid/HidTransport.h"

namespace tdxx::cli {

namespace {

constexpr const char* kHidPackage = "libhidapi-hidraw0";
constexpr const char* kGroup = "tdxxload";

std::string UserName(uid_t uid) {
  const passwd* entry = getpwuid(uid);
  return entry != nullptr ? entry->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  const group* entry = getgrgid(gid);
  return entry != nullptr ? entry->gr_name : std::to_string(gid);
}

std::string OctalMode(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

// "owner root, group plugdev, mode 0660", or why the node cannot be looked at.
std::string NodeDescription(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0)
    return "its node cannot be looked at (" + std::string(std::strerror(errno)) + ")";
  return "owner " + UserName(info.st_uid) + ", group " + GroupName(info.st_gid) + ", mode " +
         OctalMode(info.st_mode);
}

DoctorCheck LibraryCheck(HidLibraryBinder& binder) {
  DoctorCheck check{"hid-library", false, "", ""};
  std::string error;
  std::unique_ptr<HidApi> api = binder.Bind(error);
  if (api) {
    check.ok = true;
    const std::string version = HidLibraryVersion(*api);
    check.found = std::string("The HID library ") + DlopenHidBinder::kLibraryName + " loads" +
                  (version.empty() ? "" : " (version " + version + ")") + ".";
    check.mend = HidLibraryVersionWarning(version);
    return check;
  }
  check.found = "The HID library cannot be loaded: " +
                (error.empty() ? std::string("no reason given") : error);
  check.mend = std::string("Install the Debian package ") + kHidPackage + " (sudo apt install " +
               kHidPackage + ").";
  return check;
}

DoctorCheck RuleCheck(const std::vector<std::string>& folders) {
  DoctorCheck check{"udev-rule", false, "", ""};
  std::string looked;
  for (const std::string& folder : folders) {
    const std::string path = folder + "/" + kUdevRuleName;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
      check.ok = true;
      check.found = "The udev rule is installed: " + path + ".";
      return check;
    }
    looked += (looked.empty() ? "" : ", ") + folder;
  }
  check.found = std::string(kUdevRuleName) + " is in none of " + looked + ".";
  check.mend = std::string("Install the tdxxload package, or copy packaging/udev/") +
               kUdevRuleName +
               " to /etc/udev/rules.d; then run sudo udevadm control --reload and re-plug the "
               "keypad.";
  return check;
}

DoctorCheck InterfaceCheck(const AttachedInterface& interface) {
  DoctorCheck check{"device " + interface.path, interface.openable, "", ""};
  const std::string what = InterfaceKindName(interface.kind) + " at " + interface.path;
  switch (interface.problem) {
    case AttachedInterface::Problem::None:
      check.found = what + " can be opened.";
      break;
    case AttachedInterface::Problem::InUse:
      // Its permissions were not tried: opening it could disturb the other program.
      check.ok = true;
      check.found = what + " is in use by another program now.";
      check.mend = "Wait for the other program (another tdxxload, or a script) to finish with it.";
      break;
    case AttachedInterface::Problem::NoPermission:
      check.found = what + " cannot be opened by " + UserName(getuid()) + ": no permission (" +
                    NodeDescription(interface.path) + ").";
      check.mend = std::string("Install the udev rule (") + kUdevRuleName +
                   "), add yourself to the " + kGroup + " group (sudo usermod -aG " + kGroup +
                   " $USER, then log in again) and re-plug the keypad.";
      break;
    case AttachedInterface::Problem::Failed:
      check.found = what + " cannot be opened: " + interface.error + " (" +
                    NodeDescription(interface.path) + ").";
      check.mend = "Re-plug the keypad; if it stays so, try another USB port or cable.";
      break;
  }
  return check;
}

void AddInterfaceChecks(DoctorSetup& setup, std::vector<DoctorCheck>& checks) {
  HidTransport transport(setup.binder, setup.clock);
  transport.SetDeviceFilter(setup.deviceFilter);
  std::vector<AttachedInterface> interfaces;
  if (transport.SurveyInterfaces(interfaces))
    return;  // the library check already says why
  for (const AttachedInterface& interface : interfaces)
    checks.push_back(InterfaceCheck(interface));
  if (interfaces.empty()) {
    checks.push_back({"devices", true,
                      setup.deviceFilter.empty()
                          ? "No keypad or bootloader is attached."
                          : "No keypad or bootloader is attached at " + setup.deviceFilter + ".",
                      "Plug in the keypad to have it checked too."});
  }
}

// Creates, writes and removes a file in `folder`; empty when that worked, else why not.
std::string TryWriting(const std::string& folder) {
  std::string name = folder + "/.tdxxload-doctor-XXXXXX";
  const int fd = mkstemp(name.data());
  if (fd < 0)
    return std::strerror(errno);
  const char probe[] = "tdxxload";
  const bool written =
      ::write(fd, probe, sizeof probe - 1) == static_cast<ssize_t>(sizeof probe - 1);
  const int writeErrno = errno;
  const bool closed = ::close(fd) == 0;
  unlink(name.c_str());
  if (!written)
    return std::strerror(writeErrno);
  return closed ? std::string() : std::strerror(errno);
}

DoctorCheck DocumentsCheck(const AppEnvironment& environment) {
  DoctorCheck check{"documents-folder", false, "", ""};
  const SettingsFolders folders = PrepareSettingsFolders(environment);
  const std::string failure = TryWriting(folders.settingsFolder);
  if (failure.empty()) {
    check.ok = true;
    check.found = "The settings folder " + folders.settingsFolder + " is writable.";
    return check;
  }
  check.found =
      "The settings folder " + folders.settingsFolder + " cannot be written: " + failure + ".";
  check.mend = folders.useMyDocuments
                   ? "Make the folder writable for " + UserName(getuid()) +
                         ", or name another documents folder (XDG_DOCUMENTS_DIR in "
                         "~/.config/user-dirs.dirs)."
                   : "The shared folder is chosen by " + folders.locationIniPath +
                         ": add yourself to the " + kGroup +
                         " group (then log in again), or set My_Documents=1 there.";
  return check;
}

DoctorCheck DriveCheck(KeypadDriveLocator& drive) {
  DoctorCheck check{"keypad-drive", true, "", ""};
  if (!drive.FindKeypadDrive()) {
    const DriveMountFailure failure = drive.mountFailure();
    if (!failure.device.empty()) {
      check.ok = false;
      check.found = "The TASTERDECK drive " + failure.device +
                    " is attached but could not be "
                    "mounted: " +
                    failure.reason + ".";
      check.mend = "Mount it with the file manager, or re-plug the keypad.";
      return check;
    }
    check.found = "No TASTERDECK drive is mounted (it is needed only for the flash-drive method).";
    return check;
  }
  const std::string root = drive.driveLetter();
  if (access(root.c_str(), W_OK) == 0) {
    check.found = "The TASTERDECK drive is mounted at " + root + " and writable.";
    return check;
  }
  check.ok = false;
  check.found = "The TASTERDECK drive is mounted at " + root +
                " but cannot be written: " + std::strerror(errno) + ".";
  check.mend =
      "Set the keypad's rear panel switch to its flash-drive position, re-plug it and "
      "let the desktop mount the drive again.";
  return check;
}

}  // namespace

std::vector<DoctorCheck> RunDoctorChecks(DoctorSetup& setup) {
  std::vector<DoctorCheck> checks;
  checks.push_back(LibraryCheck(setup.binder));
  checks.push_back(RuleCheck(setup.ruleFolders));
  if (checks.front().ok)
    AddInterfaceChecks(setup, checks);
  checks.push_back(DocumentsCheck(setup.environment));
  checks.push_back(DriveCheck(setup.drive));
  return checks;
}

int DoctorExitCode(const std::vector<DoctorCheck>& checks) {
  for (const DoctorCheck& check : checks) {
    if (!check.ok)
      return 1;
  }
  return 0;
}

int RunDoctor(DoctorSetup& setup, bool json, std::ostream& out) {
  const std::vector<DoctorCheck> checks = RunDoctorChecks(setup);
  const int exitCode = DoctorExitCode(checks);
  if (json) {
    nlohmann::json list = nlohmann::json::array();
    for (const DoctorCheck& check : checks) {
      list.push_back(
          {{"name", check.name}, {"ok", check.ok}, {"found", check.found}, {"mend", check.mend}});
    }
    out << nlohmann::json{{"checks", list}, {"exitCode", exitCode}}.dump(
               -1, ' ', false, nlohmann::json::error_handler_t::replace)
        << "\n";
    return exitCode;
  }
  for (const DoctorCheck& check : checks) {
    out << (check.ok ? "ok    " : "FAIL  ") << check.name << ": " << check.found << "\n";
    if (!check.mend.empty())
      out << "      " << (check.ok ? "Note: " : "To mend: ") << check.mend << "\n";
  }
  out << (exitCode == 0 ? "Everything the loader needs is in place.\n"
                        : "Something the loader needs is missing (see FAIL above).\n");
  return exitCode;
}

}  // namespace tdxx::cli
