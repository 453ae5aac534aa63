#include "app/FlashDriveController.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "methods/DriveSystem.h"
#include "methods/KeypadDriveFinder.h"
#include "methods/MountService.h"

namespace tdxx::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNoDrive =
    "TASTERDECK drive not found. Switch keypad to Flash Drive mode and try again.";

// A started main window with the flash-drive window's controller; the keypad's drive, when
// plugged, is a temporary folder.
class FlashDrive : public AppFixture {
 protected:
  FlashDrive() {
    Start();
    controller = std::make_unique<FlashDriveController>(*app, *port);
    controller->SetStateChangedHandler([this] { ++stateChanges; });
    controller->FormShow();
  }
  void PlugDrive() {
    fs::create_directories(temp / "media/TASTERDECK");
    drive.mountPoint = temp / "media/TASTERDECK/";
  }
  // A BIN file loaded as Open or the command line leaves it.
  std::string LoadBin(const std::string& contents = "BIN bytes\x01\x02") {
    const std::string path = temp.Write("keys/keys.bin", contents);
    app->state.loadedFileType = kFileBin;
    app->state.dataFileName = path;
    return path;
  }
  std::vector<std::string> DriveEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(temp / "media/TASTERDECK"))
      names.push_back(entry.path().filename().string());
    return names;
  }
  void ExpectOneWarning(const std::string& text) {
    ASSERT_EQ(port->messages.size(), 1u);
    EXPECT_EQ(port->messages[0].text, text);
    EXPECT_EQ(port->messages[0].title, "Flash Drive");
    EXPECT_EQ(port->messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(port->messages[0].buttons, MessageButtons::Ok);
    port->messages.clear();
  }

  std::unique_ptr<FlashDriveController> controller;
  int stateChanges = 0;
};

TEST_F(FlashDrive, BothButtonsWithoutTheDriveOnlyWarn) {
  LoadBin();
  controller->btnShowFoldersClick();
  ExpectOneWarning(kNoDrive);
  controller->btnCopyBinFileClick();
  ExpectOneWarning(kNoDrive);
  EXPECT_TRUE(port->openedFolders.empty());
  EXPECT_TRUE(port->pauses.empty());
  EXPECT_EQ(port->log, "");
  EXPECT_EQ(controller->copiedFilePath(), "");

  // An attached drive that could not be mounted is named with the reason.
  drive.failure = DriveMountFailure{"/dev/sdb1", "Not authorized"};
  controller->btnCopyBinFileClick();
  ExpectOneWarning("The TASTERDECK drive /dev/sdb1 could not be mounted: Not authorized.");
}

TEST_F(FlashDrive, ShowFoldersOpensTheKeyFolderAndHalfASecondLaterTheDrive) {
  PlugDrive();
  controller->btnShowFoldersClick();
  ASSERT_EQ(port->openedFolders.size(), 2u);
  EXPECT_EQ(port->openedFolders[0].path, app->state.macroFilesFolder);
  EXPECT_EQ(port->openedFolders[1].path, temp / "media/TASTERDECK/");
  EXPECT_EQ(port->openedFolders[1].time - port->openedFolders[0].time, Milliseconds(500));
  EXPECT_EQ(port->pauses, std::vector<Milliseconds>{Milliseconds(500)}) << "nothing to delete";
  EXPECT_EQ(stateChanges, 0);
  EXPECT_TRUE(port->messages.empty());
}

TEST_F(FlashDrive, FolderTheDesktopCannotShowIsNamedInAWarning) {
  PlugDrive();
  port->openFolderError = "no handler";
  controller->btnShowFoldersClick();
  ExpectOneWarning("The folder " + app->state.macroFilesFolder + " cannot be shown: no handler.");
  EXPECT_EQ(port->openedFolders.size(), 1u) << "one box, not one per folder";
}

TEST_F(FlashDrive, CopyOfACommandLineBinThenShowFoldersDeletesIt) {
  PlugDrive();
  const std::string source = LoadBin();  // never chosen in the open dialog
  controller->btnCopyBinFileClick();
  const std::string copy = temp / "media/TASTERDECK/keys.bin";
  EXPECT_EQ(ReadWholeFile(copy), ReadWholeFile(source));
  EXPECT_EQ(DriveEntries(), std::vector<std::string>{"keys.bin"});
  EXPECT_EQ(port->log, "\r\nCopied keys.bin to the TASTERDECK drive.");
  EXPECT_TRUE(port->messages.empty());
  EXPECT_GT(port->pendingMessageRuns, 0);
  EXPECT_EQ(port->waitCursorShown, 1);
  EXPECT_EQ(port->waitCursorDepth, 0);
  EXPECT_EQ(controller->sourcePath(), source);
  EXPECT_EQ(controller->copiedFilePath(), copy);

  // The next showing deletes that copy, the button reading "Deleting old" for a second.
  controller->btnDoneClick();
  controller->FormShow();
  struct Seen {
    Milliseconds pause;
    std::string caption;
    bool enabled;
    bool copyThere;
  };
  std::vector<Seen> seen;
  port->onPause = [&](Milliseconds duration) {
    seen.push_back({duration, controller->showFoldersCaption(), controller->showFoldersEnabled(),
                    fs::exists(copy)});
  };
  const ClockDuration start = clock.Now();
  controller->btnShowFoldersClick();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].pause, Milliseconds(1000));
  EXPECT_EQ(seen[0].caption, "Deleting old");
  EXPECT_FALSE(seen[0].enabled);
  EXPECT_FALSE(seen[0].copyThere);
  EXPECT_EQ(seen[1].pause, Milliseconds(500));
  EXPECT_EQ(seen[1].caption, "Show Folders");
  EXPECT_TRUE(seen[1].enabled);
  EXPECT_EQ(controller->showFoldersCaption(), "Show Folders");
  // The log, which said the file was copied, says that it is gone again.
  EXPECT_TRUE(
      port->log.ends_with("\r\nDeleted keys.bin from the TASTERDECK drive (the copy "
                          "made by \"Copy Bin for me\")."))
      << port->log;
  ASSERT_EQ(port->openedFolders.size(), 2u);
  EXPECT_EQ(port->openedFolders[0].time - start, Milliseconds(1000));
  EXPECT_EQ(port->openedFolders[1].time - start, Milliseconds(1500));
  EXPECT_GE(stateChanges, 3);
  EXPECT_TRUE(DriveEntries().empty());
}

TEST_F(FlashDrive, CopyWithoutABinFileWarnsAndWritesNothing) {
  PlugDrive();
  temp.Write("keys/keys.ckd", "[Global]\n");
  app->state.loadedFileType = kFileCkd;
  app->state.dataFileName = temp / "keys/keys.ckd";
  controller->btnCopyBinFileClick();
  ExpectOneWarning(
      "No BIN file is loaded. Open the BIN file to copy, then click \"Copy Bin for me\".");
  EXPECT_TRUE(DriveEntries().empty());
  EXPECT_EQ(port->log, "");
}

TEST_F(FlashDrive, FailedCopyIsToldAndNeverMarksAFileForDeletion) {
  PlugDrive();
  LoadBin();
  fs::remove(app->state.dataFileName);
  // The user's own file of that name on the drive is not ours to delete later.
  temp.Write("media/TASTERDECK/keys.bin", "the user's");
  controller->btnCopyBinFileClick();
  ExpectOneWarning(
      "Could not copy keys.bin to the TASTERDECK drive: the BIN file cannot be read: No such file "
      "or directory.");
  EXPECT_EQ(port->log, "\r\nCopy FAILED: the BIN file cannot be read: No such file or directory");
  EXPECT_EQ(controller->copiedFilePath(), "");
  controller->btnShowFoldersClick();
  EXPECT_EQ(ReadWholeFile(temp / "media/TASTERDECK/keys.bin"), "the user's");
}

TEST_F(FlashDrive, DoneClosesAndTheDownloadCommandThenRemindsOfTheSwitch) {
  PlugDrive();
  LoadBin();
  app->state.downloadMode = 2;
  port->onModal = [&](ModalWindow window) {
    ASSERT_EQ(window, ModalWindow::FlashDrive);
    controller->FormShow();
    EXPECT_FALSE(controller->closeRequested());
    controller->btnCopyBinFileClick();
    controller->btnDoneClick();
  };
  commands->btnDownloadClick();
  EXPECT_TRUE(controller->closeRequested());
  ASSERT_EQ(port->messages.size(), 1u);
  EXPECT_EQ(port->messages[0].text,
            "To return to normal operation, restore the REAR PANEL SWITCH.");
  EXPECT_EQ(port->messages[0].title, "Download/Copy Note");
  EXPECT_EQ(port->messages[0].icon, MessageIcon::None);
  EXPECT_FALSE(app->state.taskDone) << "the copy never counts as a finished download";

  // Switched back meanwhile: no reminder.
  port->messages.clear();
  port->onModal = [&](ModalWindow) { drive.mountPoint.clear(); };
  commands->btnDownloadClick();
  EXPECT_TRUE(port->messages.empty());
}

// The keypad's drive is attached but not mounted; mounting it makes it appear in the mount
// table at a temporary folder.
class AttachedDriveSystem final : public DriveSystem {
 public:
  explicit AttachedDriveSystem(std::string mountPoint) : mountPoint_(std::move(mountPoint)) {}
  void Mount() { mounted_ = true; }
  std::optional<std::string> ReadMountTable() override {
    std::string table = "22 27 0:21 / /proc rw,relatime - proc proc rw\n";
    if (mounted_)
      table += "40 29 8:17 / " + mountPoint_ + " rw shared:100 - vfat /dev/sdb1 rw\n";
    return table;
  }
  std::optional<std::string> ResolveBlockDevice(unsigned major, unsigned minor) override {
    if (major == 8 && minor == 17)
      return kPartition;
    return std::nullopt;
  }
  std::optional<std::string> ResolveBlockDeviceByName(const std::string& name) override {
    if (name == "sdb1")
      return kPartition;
    return std::nullopt;
  }
  bool HasSysfsEntry(const std::string& path, const std::string& name) override {
    return path == kPartition && name == "partition";
  }
  std::optional<std::string> ReadSysfsAttribute(const std::string&, const std::string&) override {
    return std::nullopt;  // the stick sits on a USB bus
  }
  std::vector<LabelLink> ListLabelLinks() override { return {{"TASTERDECK", "../../sdb1"}}; }
  std::optional<std::string> ReadUdevProperty(unsigned, unsigned, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ReadFilesystemLabel(const std::string&) override {
    return std::nullopt;
  }

 private:
  static constexpr const char* kPartition =
      "devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb/sdb1";
  std::string mountPoint_;
  bool mounted_ = false;
};

class FakeMountService final : public MountService {
 public:
  explicit FakeMountService(AttachedDriveSystem& system) : system_(system) {}
  bool Mount(const std::string& device, std::string& error) override {
    devices.push_back(device);
    if (!refusal.empty()) {
      error = refusal;
      return false;
    }
    system_.Mount();
    return true;
  }
  std::vector<std::string> devices;
  std::string refusal;

 private:
  AttachedDriveSystem& system_;
};

TEST_F(FlashDrive, AttachedDriveIsMountedBeforeTheCopy) {
  fs::create_directories(temp / "media/TASTERDECK");
  AttachedDriveSystem system(temp / "media/TASTERDECK");
  FakeMountService mounter(system);
  KeypadDriveFinder finder(system, mounter);
  Application mounting(environment, binder, clock, finder);
  mounting.state = app->state;
  FlashDriveController windowOverFinder(mounting, *port);
  const std::string path = temp.Write("keys/keys.bin", "bytes");
  mounting.state.loadedFileType = kFileBin;
  mounting.state.dataFileName = path;

  mounter.refusal = "Error mounting /dev/sdb1: Not authorized to perform operation";
  windowOverFinder.btnCopyBinFileClick();
  ExpectOneWarning(
      "The TASTERDECK drive /dev/sdb1 could not be mounted: Error mounting /dev/sdb1: Not "
      "authorized to perform operation.");

  mounter.refusal.clear();
  windowOverFinder.btnCopyBinFileClick();
  EXPECT_EQ(mounter.devices, (std::vector<std::string>{"/dev/sdb1", "/dev/sdb1"}));
  EXPECT_TRUE(port->messages.empty());
  EXPECT_EQ(ReadWholeFile(temp / "media/TASTERDECK/keys.bin"), "bytes");
}

}  // namespace
}  // namespace tdxx::test
