#include "app/FlashDriveController.h"

#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include "methods/SafeCopy.h"

namespace tdxx {
namespace {

constexpr const char* kTitle = "Flash Drive";
constexpr const char* kShowFolders = "Show Folders";
constexpr const char* kDeletingOld = "Deleting old";
constexpr Milliseconds kDeletingPause{1000};
constexpr Milliseconds kBetweenFolders{500};

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

// Marks a click as running for its lifetime.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
  ~BusyScope() { busy_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& busy_;
};

}  // namespace

FlashDriveController::FlashDriveController(Application& app, MainWindowPort& port)
    : app_(app), port_(port), writer_(posixWriter_) {}

FlashDriveController::FlashDriveController(Application& app, MainWindowPort& port,
                                           FileWriter& writer)
    : app_(app), port_(port), writer_(writer) {}

void FlashDriveController::FormShow() {
  closeRequested_ = false;
}

void FlashDriveController::Warn(const std::string& text) {
  port_.ShowMessage(text, kTitle, MessageIcon::Warning, MessageButtons::Ok);
}

void FlashDriveController::StateChanged() {
  if (stateChanged_)
    stateChanged_();
  port_.RepaintNow();
}

bool FlashDriveController::FindDrive() {
  KeypadDriveLocator& locator = app_.driveLocator;
  if (locator.FindKeypadDrive())
    return true;
  const DriveMountFailure failure = locator.mountFailure();
  if (!failure.device.empty()) {
    Warn("The TASTERDECK drive " + failure.device + " could not be mounted: " + failure.reason +
         ".");
  } else {
    Warn("TASTERDECK drive not found. Switch keypad to Flash Drive mode and try again.");
  }
  return false;
}

bool FlashDriveController::DeleteEarlierCopy() {
  if (copiedFilePath_.empty() || !IsFile(copiedFilePath_))
    return true;
  showFoldersCaption_ = kDeletingOld;
  StateChanged();
  const int error = writer_.Unlink(copiedFilePath_);
  if (error != 0 && IsFile(copiedFilePath_)) {
    showFoldersCaption_ = kShowFolders;
    StateChanged();
    port_.ShowError("Cannot delete " + copiedFilePath_ + ": " +
                    std::generic_category().message(error));
    return false;
  }
  // The log said the file was copied; it must not go on saying the file is on the drive.
  port_.LogProgress("\r\nDeleted " + NameOf(copiedFilePath_) +
                    " from the TASTERDECK drive (the copy made by \"Copy Bin for me\").");
  copiedFilePath_.clear();
  showFoldersEnabled_ = false;
  StateChanged();
  port_.Pause(kDeletingPause);
  showFoldersCaption_ = kShowFolders;
  showFoldersEnabled_ = true;
  StateChanged();
  return true;
}

bool FlashDriveController::OpenFolder(const std::string& path) {
  std::string error;
  if (port_.OpenFolder(path, error))
    return true;
  Warn("The folder " + path + " cannot be shown: " + error + ".");
  return false;
}

void FlashDriveController::btnShowFoldersClick() {
  if (busy_)
    return;
  BusyScope busy(busy_);
  if (!FindDrive())
    return;
  // The drive's root is taken now: a search made meanwhile by someone else may clear it.
  const std::string driveRoot = app_.driveLocator.driveLetter();
  if (!DeleteEarlierCopy())
    return;
  // An unset key-file folder has nothing to show; the drive is still opened.
  if (!app_.state.macroFilesFolder.empty()) {
    if (!OpenFolder(app_.state.macroFilesFolder))
      return;
    port_.Pause(kBetweenFolders);
  }
  OpenFolder(driveRoot);
}

void FlashDriveController::btnCopyBinFileClick() {
  if (busy_)
    return;
  BusyScope busy(busy_);
  if (!FindDrive())
    return;
  const MainWindowState& state = app_.state;
  if (state.loadedFileType != kFileBin || state.dataFileName.empty()) {
    Warn("No BIN file is loaded. Open the BIN file to copy, then click \"Copy Bin for me\".");
    return;
  }
  const std::string source = state.dataFileName;
  const std::string name = NameOf(source);
  const std::string destination = app_.driveLocator.driveLetter() + name;

  CopyOutcome outcome;
  {
    WaitCursorGuard cursor(port_);
    outcome = SafeCopy(source, destination, writer_, [this] { port_.ProcessPendingMessages(); });
  }
  if (outcome.failed) {
    port_.LogProgress("\r\nCopy FAILED: " + outcome.reason);
    Warn("Could not copy " + name + " to the TASTERDECK drive: " + outcome.reason + ".");
    return;
  }
  // Only a copy of ours is remembered, so Show Folders never deletes a file it did not write.
  sourcePath_ = source;
  copiedFilePath_ = destination;
  port_.LogProgress("\r\nCopied " + name + " to the TASTERDECK drive.");
}

void FlashDriveController::btnDoneClick() {
  if (busy_)
    return;
  closeRequested_ = true;
}

}  // namespace tdxx
