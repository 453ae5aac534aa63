#include "methods/KeypadDriveFinder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "methods/LinuxDriveSystem.h"
#include "methods/MountService.h"
#include "methods/MountTable.h"
#include "support/TempFolder.h"

namespace tdxx {
namespace {

namespace fs = std::filesystem;

// Sysfs device folders of the disks the tests plug in.
constexpr const char* kUsbStick =
    "devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb";
constexpr const char* kUsbStick2 =
    "devices/pci0000:00/0000:00:14.0/usb2/2-2/2-2:1.0/host7/target7:0:0/7:0:0:0/block/sdc";
constexpr const char* kSataDisk =
    "devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda";
constexpr const char* kSdCard =
    "devices/platform/fe320000.mmc/mmc_host/mmc1/mmc1:aaaa/block/mmcblk1";
constexpr const char* kCardReaderSlot =
    "devices/pci0000:00/0000:00:1c.0/0000:02:00.0/host3/target3:0:0/3:0:0:0/block/sdd";

// A made-up system: a mountinfo file, a sysfs tree with dev/block links and a by-label
// folder, in a temporary folder.
class FakeSystemTree {
 public:
  FakeSystemTree() : root_(folder_.path()) {
    fs::create_directories(root_ / "sys" / "dev" / "block");
    fs::create_directories(root_ / "by-label");
    fs::create_directories(root_ / "udev-data");
  }

  // A disk folder, with its removable attribute unless that is null.
  void AddDisk(const std::string& diskPath, const std::string& devNumber, const char* removable) {
    fs::create_directories(root_ / "sys" / diskPath);
    if (removable)
      Write(root_ / "sys" / diskPath / "removable", std::string(removable) + "\n");
    LinkBlock(diskPath, devNumber);
  }
  void AddPartition(const std::string& diskPath, const std::string& name,
                    const std::string& devNumber) {
    const std::string path = diskPath + "/" + name;
    fs::create_directories(root_ / "sys" / path);
    Write(root_ / "sys" / path / "partition", "1\n");
    LinkBlock(path, devNumber);
  }
  // A by-label link named as udev names it (escapes included) to ../../<kernel name>.
  void AddLabelLink(const std::string& linkName, const std::string& kernelName) {
    fs::create_symlink("../../" + kernelName, root_ / "by-label" / linkName);
  }
  void RemoveLabelLink(const std::string& linkName) { fs::remove(root_ / "by-label" / linkName); }
  // The device's file in udev's database, as udev writes it for a filesystem with that label
  // (udev's escapes included).
  void AddUdevLabel(const std::string& devNumber, const std::string& encodedLabel) {
    AddUdevData(devNumber,
                "S:disk/by-label/" + encodedLabel + "\nI:1234567\nE:ID_FS_LABEL=" + encodedLabel +
                    "\nE:ID_FS_LABEL_ENC=" + encodedLabel + "\nE:ID_FS_TYPE=vfat\nG:systemd\n");
  }
  void AddUdevData(const std::string& devNumber, const std::string& text) {
    Write(root_ / "udev-data" / ("b" + devNumber), text);
  }
  void AddMount(const std::string& devNumber, const std::string& mountPoint,
                const std::string& root = "/") {
    mountInfo_ += std::to_string(40 + lines_++) + " 29 " + devNumber + " " + root + " " +
                  mountPoint + " rw,nosuid,nodev,relatime shared:100 - vfat /dev/x rw\n";
    Write(root_ / "mountinfo", mountInfo_);
  }

  LinuxDriveSystem System() const {
    return LinuxDriveSystem((root_ / "mountinfo").string(), (root_ / "sys").string(),
                            (root_ / "by-label").string(), (root_ / "udev-data").string());
  }

 private:
  static void Write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  void LinkBlock(const std::string& devicePath, const std::string& devNumber) {
    fs::create_directory_symlink("../../" + devicePath,
                                 root_ / "sys" / "dev" / "block" / devNumber);
    fs::create_directories(root_ / "sys" / "class" / "block");
    fs::create_directory_symlink(
        "../../" + devicePath, root_ / "sys" / "class" / "block" / fs::path(devicePath).filename());
  }

  test::TempFolder folder_;
  fs::path root_;
  std::string mountInfo_ = "22 27 0:21 / /proc rw,relatime - proc proc rw\n";
  int lines_ = 0;
};

// The tree's system, with filesystem labels given per mount point: a temporary folder cannot
// answer FS_IOC_GETFSLABEL.
class SystemWithFilesystemLabels final : public DriveSystem {
 public:
  explicit SystemWithFilesystemLabels(LinuxDriveSystem system) : system_(std::move(system)) {}
  std::optional<std::string> ReadMountTable() override { return system_.ReadMountTable(); }
  std::optional<std::string> ResolveBlockDevice(unsigned major, unsigned minor) override {
    return system_.ResolveBlockDevice(major, minor);
  }
  std::optional<std::string> ResolveBlockDeviceByName(const std::string& kernelName) override {
    return system_.ResolveBlockDeviceByName(kernelName);
  }
  bool HasSysfsEntry(const std::string& devicePath, const std::string& name) override {
    return system_.HasSysfsEntry(devicePath, name);
  }
  std::optional<std::string> ReadSysfsAttribute(const std::string& devicePath,
                                                const std::string& name) override {
    return system_.ReadSysfsAttribute(devicePath, name);
  }
  std::vector<LabelLink> ListLabelLinks() override { return system_.ListLabelLinks(); }
  std::optional<std::string> ReadUdevProperty(unsigned major, unsigned minor,
                                              const std::string& name) override {
    return system_.ReadUdevProperty(major, minor, name);
  }
  std::optional<std::string> ReadFilesystemLabel(const std::string& mountPoint) override {
    const auto it = labels.find(mountPoint);
    if (it == labels.end())
      return std::nullopt;
    return it->second;
  }

  std::map<std::string, std::string> labels;

 private:
  LinuxDriveSystem system_;
};

// A mount service that records what it is asked and refuses, or mounts by adding the mount to
// the tree.
class FakeMountService final : public MountService {
 public:
  bool Mount(const std::string& device, std::string& error) override {
    devices.push_back(device);
    if (onMount)
      onMount();
    error = refusal;
    return refusal.empty();
  }
  std::vector<std::string> devices;
  std::string refusal = "Error mounting: not authorized";
  std::function<void()> onMount;
};

std::string Find(DriveSystem& system, bool& found) {
  FakeMountService mounter;
  KeypadDriveFinder finder(system, mounter);
  found = finder.FindKeypadDrive();
  return finder.driveLetter();
}

TEST(KeypadDriveFinder, FindsPartitionOfRemovableUsbStick) {
  FakeSystemTree tree;
  tree.AddDisk(kSataDisk, "8:0", "0");
  tree.AddPartition(kSataDisk, "sda1", "8:1");
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddLabelLink("System", "sda1");
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddMount("8:1", "/");
  tree.AddMount("8:17", "/media/user/TASTERDECK");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  EXPECT_EQ(Find(system, found), "/media/user/TASTERDECK/");
  EXPECT_TRUE(found);
}

struct DiskCase {
  const char* name;
  const char* diskPath;
  const char* removable;  // null: no removable attribute
  bool partitioned;
  const char* linkName;
  bool found;
};

class KeypadDriveFinderDisk : public testing::TestWithParam<DiskCase> {};

TEST_P(KeypadDriveFinderDisk, FindsOnlyRemovableDrivesLabelledExactly) {
  const DiskCase& c = GetParam();
  FakeSystemTree tree;
  tree.AddDisk(c.diskPath, "8:16", c.removable);
  const std::string disk = fs::path(c.diskPath).filename().string();
  std::string kernelName = disk;
  if (c.partitioned) {
    kernelName = disk.starts_with("mmcblk") ? disk + "p1" : disk + "1";
    tree.AddPartition(c.diskPath, kernelName, "8:17");
  }
  tree.AddLabelLink(c.linkName, kernelName);
  tree.AddMount(c.partitioned ? "8:17" : "8:16", "/media/user/KEYS");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  const std::string letter = Find(system, found);
  EXPECT_EQ(found, c.found);
  EXPECT_EQ(letter, c.found ? "/media/user/KEYS/" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Disks, KeypadDriveFinderDisk,
    testing::Values(
        DiskCase{"UsbRemovable", kUsbStick, "1", true, "TASTERDECK", true},
        DiskCase{"UsbRemovableZero", kUsbStick, "0", true, "TASTERDECK", true},
        DiskCase{"UsbWholeDiskFilesystem", kUsbStick, "0", false, "TASTERDECK", true},
        DiskCase{"SdCardPartition", kSdCard, "0", true, "TASTERDECK", true},
        DiskCase{"CardReaderRemovable", kCardReaderSlot, "1", true, "TASTERDECK", true},
        DiskCase{"FixedDisk", kSataDisk, "0", true, "TASTERDECK", false},
        DiskCase{"FixedDiskWithoutAttribute", kSataDisk, nullptr, true, "TASTERDECK", false},
        DiskCase{"LowercaseLabel", kUsbStick, "1", true, "tasterdeck", false},
        DiskCase{"LongerLabel", kUsbStick, "1", true, "TASTERDECK2", false},
        DiskCase{"EscapedLetterInLinkName", kUsbStick, "1", true, "\\x54ASTERDECK", true},
        DiskCase{"EscapedSpaceInLinkName", kUsbStick, "1", true, "TASTER\\x20DECK", false}),
    [](const testing::TestParamInfo<DiskCase>& info) { return info.param.name; });

TEST(KeypadDriveFinder, FirstOfTwoMatchesInMountOrderWins) {
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick2, "8:32", "1");
  tree.AddPartition(kUsbStick2, "sdc1", "8:33");
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  // udev keeps one link per label; the other drive tells its label itself.
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddMount("8:33", "/media/user/TASTERDECK1");
  tree.AddMount("8:17", "/media/user/TASTERDECK");
  SystemWithFilesystemLabels system(tree.System());
  system.labels["/media/user/TASTERDECK1"] = "TASTERDECK";
  bool found = false;
  EXPECT_EQ(Find(system, found), "/media/user/TASTERDECK1/");
  EXPECT_TRUE(found);
}

TEST(KeypadDriveFinder, FirstOfTwoLikeLabelledFatDrivesWinsThoughUdevLinkedTheSecond) {
  // Two FAT drives labelled TASTERDECK: udev's one link names the second, and FAT cannot tell
  // its label itself; udev's database still knows the label of each.
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick2, "8:32", "1");
  tree.AddPartition(kUsbStick2, "sdc1", "8:33");
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddUdevLabel("8:33", "TASTERDECK");
  tree.AddUdevLabel("8:17", "TASTERDECK");
  tree.AddMount("8:33", "/media/user/TASTERDECK1");
  tree.AddMount("8:17", "/media/user/TASTERDECK");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  EXPECT_EQ(Find(system, found), "/media/user/TASTERDECK1/");
  EXPECT_TRUE(found);
}

TEST(KeypadDriveFinder, UdevDatabaseLabelIsMatchedExactlyWithItsEscapesUndone) {
  struct Case {
    const char* encoded;
    bool found;
  };
  for (const Case& c :
       {Case{"TASTERDECK", true}, Case{"\\x54ASTERDECK", true}, Case{"tasterdeck", false},
        Case{"TASTER\\x20DECK", false}, Case{"TASTERDECK\\x20", false}}) {
    FakeSystemTree tree;
    tree.AddDisk(kUsbStick, "8:16", "1");
    tree.AddPartition(kUsbStick, "sdb1", "8:17");
    tree.AddUdevLabel("8:17", c.encoded);
    tree.AddMount("8:17", "/media/user/KEYS");
    LinuxDriveSystem system = tree.System();
    bool found = !c.found;
    EXPECT_EQ(Find(system, found), c.found ? "/media/user/KEYS/" : "") << c.encoded;
    EXPECT_EQ(found, c.found) << c.encoded;
  }
}

TEST(KeypadDriveFinder, UdevDatabaseFileWithoutALabelFallsBackToTheLink) {
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddMount("8:17", "/media/user/TASTERDECK");
  // A database file that records other properties only.
  tree.AddUdevData("8:17", "I:1234567\nE:ID_FS_TYPE=vfat\nE:ID_FS_LABEL_ENCX=OTHER\n");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  EXPECT_EQ(Find(system, found), "/media/user/TASTERDECK/");
  EXPECT_TRUE(found);
}

TEST(KeypadDriveFinder, SecondRemovableDriveIsFoundByItsLabel) {
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick2, "8:32", "1");
  tree.AddPartition(kUsbStick2, "sdc1", "8:33");
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddLabelLink("BACKUP", "sdc1");
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddMount("8:33", "/media/user/BACKUP");
  tree.AddMount("8:17", "/run/media/user/TASTERDECK");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  EXPECT_EQ(Find(system, found), "/run/media/user/TASTERDECK/");
}

TEST(KeypadDriveFinder, LabelComesFromFilesystemWhenNoLinkPointsAtTheDrive) {
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddMount("8:17", "/mnt/keypad");
  SystemWithFilesystemLabels system(tree.System());
  bool found = true;
  EXPECT_EQ(Find(system, found), "");
  EXPECT_FALSE(found);
  system.labels["/mnt/keypad"] = "TASTERDECK";
  EXPECT_EQ(Find(system, found), "/mnt/keypad/");
  EXPECT_TRUE(found);
}

TEST(KeypadDriveFinder, MountPointEscapesAreDecoded) {
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddMount("8:17", "/media/my\\040user/tab\\011and\\134back");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  EXPECT_EQ(Find(system, found), "/media/my user/tab\tand\\back/");
}

TEST(KeypadDriveFinder, BindMountOfFolderOnTheDriveIsNotItsRoot) {
  FakeSystemTree tree;
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddLabelLink("TASTERDECK", "sdb1");
  tree.AddMount("8:17", "/srv/keys", "/keys");
  tree.AddMount("8:17", "/media/user/TASTERDECK");
  LinuxDriveSystem system = tree.System();
  bool found = false;
  EXPECT_EQ(Find(system, found), "/media/user/TASTERDECK/");
}

TEST(KeypadDriveFinder, NoRemovableDriveGivesFalseAndClearsTheLastAnswer) {
  FakeSystemTree tree;
  tree.AddDisk(kSataDisk, "8:0", "0");
  tree.AddPartition(kSataDisk, "sda1", "8:1");
  tree.AddLabelLink("TASTERDECK", "sda1");
  tree.AddMount("8:1", "/");
  tree.AddMount("0:45", "/tmp");  // no block device behind it
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddMount("8:16", "/media/TASTERDECK");
  SystemWithFilesystemLabels system(tree.System());
  system.labels["/tmp"] = "TASTERDECK";
  system.labels["/media/TASTERDECK"] = "TASTERDECK";
  FakeMountService mounter;
  KeypadDriveFinder finder(system, mounter);
  ASSERT_TRUE(finder.FindKeypadDrive());
  ASSERT_EQ(finder.driveLetter(), "/media/TASTERDECK/");

  // The stick now carries another label: only the fixed disk and tmpfs are left.
  system.labels["/media/TASTERDECK"] = "OTHER";
  EXPECT_FALSE(finder.FindKeypadDrive());
  EXPECT_EQ(finder.driveLetter(), "");
}

TEST(KeypadDriveFinder, UnreadableMountTableFindsNothing) {
  LinuxDriveSystem system("/nonexistent/mountinfo", "/nonexistent/sys", "/nonexistent/by-label");
  bool found = true;
  EXPECT_EQ(Find(system, found), "");
  EXPECT_FALSE(found);
}

// An attached TASTERDECK partition on a USB stick that nobody mounted.
class UnmountedKeypadDrive : public testing::Test {
 protected:
  UnmountedKeypadDrive() {
    tree.AddDisk(kSataDisk, "8:0", "0");
    tree.AddPartition(kSataDisk, "sda1", "8:1");
    tree.AddMount("8:1", "/");
    tree.AddDisk(kUsbStick, "8:16", "1");
    tree.AddPartition(kUsbStick, "sdb1", "8:17");
    tree.AddLabelLink("TASTERDECK", "sdb1");
  }
  FakeSystemTree tree;
  LinuxDriveSystem system = tree.System();
  FakeMountService mounter;
  KeypadDriveFinder finder{system, mounter};
};

TEST_F(UnmountedKeypadDrive, IsMountedAndThenFound) {
  mounter.refusal = "";
  mounter.onMount = [&] { tree.AddMount("8:17", "/media/user/TASTERDECK"); };
  EXPECT_TRUE(finder.FindKeypadDrive());
  EXPECT_EQ(finder.driveLetter(), "/media/user/TASTERDECK/");
  EXPECT_EQ(mounter.devices, std::vector<std::string>{"/dev/sdb1"});
  EXPECT_EQ(finder.mountFailure().device, "");

  // Mounted now: the next search finds it without mounting again.
  EXPECT_TRUE(finder.FindKeypadDrive());
  EXPECT_EQ(mounter.devices.size(), 1u);
}

TEST_F(UnmountedKeypadDrive, FailedMountNamesTheDeviceAndTheReason) {
  EXPECT_FALSE(finder.FindKeypadDrive());
  EXPECT_EQ(finder.driveLetter(), "");
  EXPECT_EQ(finder.mountFailure().device, "/dev/sdb1");
  EXPECT_EQ(finder.mountFailure().reason, "Error mounting: not authorized");

  // The drive leaves: the next search finds nothing and reports no failure.
  mounter.devices.clear();
  tree.RemoveLabelLink("TASTERDECK");
  EXPECT_FALSE(finder.FindKeypadDrive());
  EXPECT_EQ(finder.mountFailure().device, "");
  EXPECT_TRUE(mounter.devices.empty());
}

TEST_F(UnmountedKeypadDrive, MountThatDoesNotShowInTheTableIsAFailure) {
  mounter.refusal = "";
  EXPECT_FALSE(finder.FindKeypadDrive());
  EXPECT_EQ(finder.mountFailure().device, "/dev/sdb1");
  EXPECT_EQ(finder.mountFailure().reason,
            "it was mounted but does not show among the mounted drives");
}

TEST(KeypadDriveFinder, OnlyUnmountedPartitionsOfRemovableDisksAreMounted) {
  FakeSystemTree tree;
  tree.AddDisk(kSataDisk, "8:0", "0");
  tree.AddPartition(kSataDisk, "sda1", "8:1");
  tree.AddLabelLink("TASTERDECK", "sda1");  // a fixed disk
  tree.AddDisk(kUsbStick, "8:16", "1");
  tree.AddPartition(kUsbStick, "sdb1", "8:17");
  tree.AddMount("8:17", "/srv/keys", "/KEYS");  // only a folder of it, bind-mounted
  LinuxDriveSystem system = tree.System();
  FakeMountService mounter;
  KeypadDriveFinder finder(system, mounter);
  EXPECT_FALSE(finder.FindKeypadDrive());
  EXPECT_TRUE(mounter.devices.empty());

  // The stick carries the label now, but a folder of it is mounted: udisks would refuse.
  FakeSystemTree second;
  second.AddDisk(kUsbStick, "8:16", "1");
  second.AddPartition(kUsbStick, "sdb1", "8:17");
  second.AddLabelLink("TASTERDECK", "sdb1");
  second.AddMount("8:17", "/srv/keys", "/KEYS");
  LinuxDriveSystem secondSystem = second.System();
  KeypadDriveFinder secondFinder(secondSystem, mounter);
  EXPECT_FALSE(secondFinder.FindKeypadDrive());
  EXPECT_TRUE(mounter.devices.empty());
  EXPECT_EQ(secondFinder.mountFailure().device, "");
}

TEST(UdisksMountService, RunsTheToolWithoutAShellAndReportsItsOutput) {
  test::TempFolder folder;
  const std::string tool =
      folder.Write("udisksctl",
                   "#!/bin/sh\necho \"$1 $2 $3 $4\" > \"$(dirname \"$0\")/arguments\"\n"
                   "echo \"Error mounting $3: GDBus.Error: Not authorized\" >&2\nexit 1\n");
  fs::permissions(tool, fs::perms::owner_all);
  UdisksMountService service(tool);
  std::string error;
  EXPECT_FALSE(service.Mount("/dev/sdb1; touch /tmp/x", error));
  EXPECT_EQ(error, "Error mounting /dev/sdb1; touch /tmp/x: GDBus.Error: Not authorized");
  EXPECT_EQ(test::ReadWholeFile(folder / "arguments"),
            "mount -b /dev/sdb1; touch /tmp/x --no-user-interaction\n");

  folder.Write("udisksctl", "#!/bin/sh\necho \"Mounted $3 at /media/TASTERDECK\"\n");
  EXPECT_TRUE(service.Mount("/dev/sdb1", error));

  UdisksMountService missing(folder / "no-such-tool");
  EXPECT_FALSE(missing.Mount("/dev/sdb1", error));
  EXPECT_NE(error.find("no-such-tool"), std::string::npos) << error;
}

TEST(MountTable, ParsesFieldsAroundOptionalFields) {
  const std::vector<MountEntry> entries = ParseMountInfo(
      "36 35 98:0 /mnt1 /mnt/parent rw,noatime master:1 shared:2 - ext3 /dev/root rw\n"
      "garbage line\n"
      "37 35 8:17 / /media/a\\040b rw - vfat /dev/sdb1 rw\n"
      "38 35 x:1 / /bad rw - vfat /dev/sdc1 rw\n"
      "39 35 8:33 / /no-source rw -\n");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].major, 98u);
  EXPECT_EQ(entries[0].minor, 0u);
  EXPECT_EQ(entries[0].root, "/mnt1");
  EXPECT_EQ(entries[0].mountPoint, "/mnt/parent");
  EXPECT_EQ(entries[0].source, "/dev/root");
  EXPECT_EQ(entries[1].minor, 17u);
  EXPECT_EQ(entries[1].mountPoint, "/media/a b");
  EXPECT_EQ(entries[1].source, "/dev/sdb1");
}

TEST(MountTable, DecodesOnlyCompleteEscapes) {
  struct Case {
    const char* in;
    const char* octal;
    const char* hex;
  };
  const Case cases[] = {
      {"a\\040b", "a b", "a\\040b"},      {"a\\x20b", "a\\x20b", "a b"},
      {"end\\04", "end\\04", "end\\04"},  {"end\\x2", "end\\x2", "end\\x2"},
      {"\\x4A\\x4a", "\\x4A\\x4a", "JJ"}, {"\\089", "\\089", "\\089"},
      {"\\\\x41", "\\\\x41", "\\A"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeOctalEscapes(c.in), c.octal) << c.in;
    EXPECT_EQ(DecodeHexEscapes(c.in), c.hex) << c.in;
  }
}

}  // namespace
}  // namespace tdxx
