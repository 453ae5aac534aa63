#include "AppFixture.h"
#include "UpgBuilder.h"
#include "app/DataFileType.h"
#include "files/FirmwareReader.h"

namespace tdxx::test {
namespace {

class OpenDataFile : public AppFixture {
 protected:
  void SetUp() override {
    Start();
    port->log.clear();
  }

  // Runs Open with the dialog answering `choice` (nothing = cancel).
  void Open(std::optional<std::string> choice) {
    port->nextOpenChoice = std::move(choice);
    commands->btnOpenClick();
  }

  std::string CkdFile(const std::string& name) {
    return temp.Write(name,
                      "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=48\r\n[KEY0]\r\nLevel_1_Codes=1c\r\n");
  }
};

TEST_F(OpenDataFile, DialogIsSetUpAsTheProgramAlwaysHadIt) {
  Open(std::nullopt);
  ASSERT_EQ(port->openRequests.size(), 1u);
  const OpenFileRequest& request = port->openRequests[0];
  EXPECT_EQ(request.title, "Open CKD file (or other file type)");
  EXPECT_EQ(request.filter,
            "Custom Key Definitions (*.ckd)|*.ckd|Flash Drive Copy (*.bin)|*.bin|Firmware "
            "Upgrade (*.upg)|*.upg|Any File(*.*)|*.*");
  EXPECT_EQ(request.defaultExtension, "*.ckd");
  EXPECT_EQ(request.startFolder, app->state.macroFilesFolder);
}

TEST_F(OpenDataFile, FilterIsPreselectedByDeviceKindDriveAndMethod) {
  struct Case {
    DeviceKind kind;
    int downloadMode;
    bool drivePresent;
    int filter;
  };
  const Case cases[] = {
      {3, 0, false, 3}, {4, 0, false, 3}, {13, 2, true, 3},  // bootloaders: firmware
      {7, 0, false, 1},                                      // the TDSxx bootloader is not one
      {0, 0, true, 2},  {0, 2, false, 2}, {5, 2, false, 2},  // keypad drive or flash method
      {0, 0, false, 1}, {5, 1, false, 1}, {-1, 0, false, 1},
  };
  for (const Case& c : cases) {
    app->state.deviceKind = c.kind;
    app->state.downloadMode = c.downloadMode;
    drive.mountPoint = c.drivePresent ? "/media/TASTERDECK/" : "";
    Open(std::nullopt);
    EXPECT_EQ(port->openRequests.back().filterIndex, c.filter)
        << "kind " << c.kind << " mode " << c.downloadMode << " drive " << c.drivePresent;
  }
}

TEST_F(OpenDataFile, CancelLeavesNothingLoadedAndAnEmptyFilePanel) {
  Open(CkdFile("keys.ckd"));
  ASSERT_EQ(app->state.loadedFileType, kFileCkd);
  port->log.clear();
  Open(std::nullopt);
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(app->state.keyCount, 0);
  EXPECT_EQ(port->fileNameText, "");
  EXPECT_EQ(port->fileTypeText, "");
  EXPECT_EQ(port->log, "\r\nOpen file.  \r\nFile read Canceled.\r\n");
}

TEST_F(OpenDataFile, KeyDefinitionsInCapitalsAreReadAndCounted) {
  const std::string path = CkdFile("KEYS.CKD");
  Open(path);
  EXPECT_EQ(app->state.loadedFileType, kFileCkd);
  EXPECT_EQ(app->state.keyCount, 48);
  EXPECT_EQ(app->state.dataFileName, path);
  EXPECT_EQ(port->fileNameText, path);
  EXPECT_EQ(port->fileTypeText, "Tasterdeck Key Definitions (.CKD)");
  EXPECT_EQ(port->log,
            "\r\nOpen file.  \r\nCKD File Type: TD-B (loading 48 keys)\r\nFile read "
            "SUCCESSFUL.\r\n");
  EXPECT_EQ(commands->lastChosenFile(), path);
}

TEST_F(OpenDataFile, MissingKeyDefinitionFileFailsWithoutTouchingTheKeyTable) {
  Open(CkdFile("first.ckd"));
  const KeyTable before = app->keyTable;
  port->log.clear();
  Open(temp / "missing.ckd");
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(app->state.keyCount, 0);
  EXPECT_EQ(port->log,
            "\r\nOpen file.  \r\nCannot read file: No such file or directory\r\nFile read "
            "FAILED!\r\n");
  EXPECT_EQ(app->keyTable[0].bytes, before[0].bytes);
}

TEST_F(OpenDataFile, FirmwareShowsItsVersionDigitsInDecimal) {
  struct Case {
    std::uint8_t versionByte;
    const char* line;
  };
  for (const Case& c : {Case{0x17, "\r\nNew firmware version will be: 1.7x."},
                        Case{0x1A, "\r\nNew firmware version will be: 1.10x."}}) {
    UpgBuilder upg;
    upg.Put(0x3FFF, {ExchangeBitPairs(c.versionByte)});
    upg.header = "TD firmware\r\n";
    port->log.clear();
    Open(temp.Write("fw.UPG", upg.Text()));
    EXPECT_EQ(app->state.loadedFileType, kFileUpg);
    EXPECT_EQ(port->fileTypeText, "Device Firmware Upgrade (.UPG)");
    EXPECT_EQ(port->log,
              std::string("\r\nOpen file.  \r\nTD firmware\r\nFile read SUCCESSFUL.\r\n") + c.line);
  }
}

TEST_F(OpenDataFile, FirmwareWithAWrongChecksumLineFails) {
  const std::string text = "header\r\nChecksum: 0x1234\r\n:00000001FF\r\n";
  Open(temp.Write("bad.upg", text));
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(app->firmware.versionByte, 0);
  EXPECT_EQ(
      port->log,
      "\r\nOpen file.  \r\nheader\r\n\r\nError reading file checksum\r\nFile read FAILED!\r\n");
}

TEST_F(OpenDataFile, FlashDriveCopyIsOnlyTestedForExistence) {
  const std::string path = temp.Write("copy.bin", "anything");
  Open(path);
  EXPECT_EQ(app->state.loadedFileType, kFileBin);
  EXPECT_EQ(port->fileTypeText, "Key Definitions for flash drive copy (.BIN)");
  EXPECT_EQ(port->log, "\r\nOpen file.  \r\nFile exists for copy. Must use Flash Drive Copy!");

  port->log.clear();
  Open(temp / "gone.bin");
  EXPECT_EQ(app->state.loadedFileType, kFileBin);  // still counts as loaded
  EXPECT_EQ(port->log, "\r\nOpen file.  \r\nFile does not exist.\r\n");
}

TEST_F(OpenDataFile, OtherExtensionsAreRefusedButKeepThePathInThePanel) {
  const std::string path = temp.Write("keys.txt", "[GLOBAL_PARAMETERS]\r\n");
  Open(path);
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(port->fileNameText, path);
  EXPECT_EQ(port->fileTypeText, "");
  EXPECT_EQ(port->log, "\r\nOpen file.  \r\nINVALID FILE TYPE.\r\n");
}

// The dialog's default extension: a name typed without one opens NAME.ckd when that file
// exists, and the name as typed when not.
TEST_F(OpenDataFile, ANameWithoutExtensionOpensTheCkdFileOfThatName) {
  const std::string ckd = CkdFile("td-b-letters.ckd");
  const std::string typed = ckd.substr(0, ckd.size() - 4);
  Open(typed);
  EXPECT_EQ(app->state.loadedFileType, kFileCkd);
  EXPECT_EQ(app->state.dataFileName, ckd);
  EXPECT_EQ(port->fileNameText, ckd);

  // No such CKD file: the name as typed, which is no data file.
  Open(temp / "notes");
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(app->state.dataFileName, temp / "notes");
  EXPECT_NE(port->log.find("INVALID FILE TYPE."), std::string::npos);

  // A name with an extension, or a dot in a folder's name only, is taken as it is.
  EXPECT_EQ(WithDefaultExtension("/a.b/keys", "*.ckd"), "/a.b/keys");
  EXPECT_EQ(WithDefaultExtension(ckd, "*.ckd"), ckd);
  EXPECT_EQ(WithDefaultExtension(typed, ".ckd"), ckd);
}

TEST_F(OpenDataFile, PathLongerThanTheReadersTakeIsRefusedBeforeReading) {
  std::string folder(200, 'd');
  const std::string path = temp.Write(folder + "/" + folder + "/" + folder + "/keys.ckd", "[x]");
  ASSERT_GT(path.size(), 511u);
  Open(path);
  EXPECT_EQ(app->state.loadedFileType, kFileNone);
  EXPECT_EQ(port->log, "\r\nOpen file.  \r\nFile path too long.\r\n\r\nFile read FAILED!\r\n");
}

// 511 bytes is the longest path the readers take: one byte more is refused.
TEST_F(OpenDataFile, PathLimitIsExactly511Bytes) {
  for (const std::size_t length : {std::size_t{511}, std::size_t{512}}) {
    const std::string prefix = temp / "";
    // Folders of at most 200 bytes each (a file name may not be longer than 255).
    std::size_t filler = length - prefix.size() - std::string("keys.ckd").size();
    std::string folders;
    while (filler > 0) {
      const std::size_t part = std::min<std::size_t>(filler - 1, 200);
      folders += std::string(part, 'd') + "/";
      filler -= part + 1;
    }
    const std::string path = temp.Write(folders + "keys.ckd", "[KEY0]\nLevel_1_Codes=1c\n");
    ASSERT_EQ(path.size(), length);
    Open(path);
    EXPECT_EQ(app->state.loadedFileType, length == 511 ? kFileCkd : kFileNone) << length;
    EXPECT_EQ(port->log.find("File path too long.") != std::string::npos, length == 512) << length;
    port->log.clear();
  }
}

}  // namespace
}  // namespace tdxx::test
