#include <gtest/gtest.h>

#include <string>

#include "DownloadFixture.h"
#include "app/KeyDefinitionLoad.h"

namespace tdxx::test {
namespace {

// The key download warns of what the keypad detected then will not get as the loaded file
// writes it, and downloads all the same.
class DownloadProblemWarning : public DownloadFixture {
 protected:
  // Opens `path` as Open File does, before any keypad is detected, then runs Connect.
  void LoadThenConnect(const std::string& path) {
    app->state.loadedFileType = kFileCkd;
    LoadKeyDefinitionsAsOpened(*app, *port, path, true);
    ASSERT_NE(app->state.keyCount, 0) << port->log;
    loadLog = port->log;
    commands->btnConnectClick();
    port->log.clear();
  }

  static std::string Example(const char* name) { return std::string(TDXX_EXAMPLES_DIR "/") + name; }

  std::string loadLog;
};

TEST_F(DownloadProblemWarning, A48KeyFileOnATdAWarnsOfTheKeysBeyond24BeforeTheFlowAndSendsThe24) {
  Start({"td-a"});
  // A copy, so that the file can change on disk after it is loaded.
  const std::string path = temp.Write("letters.ckd", ReadWholeFile(Example("td-b-letters.ckd")));
  LoadThenConnect(path);
  EXPECT_EQ(loadLog.find("Warning"), std::string::npos) << "no keypad was known at Open File";

  // The download judges the loaded images, not a file since made clean.
  temp.Write("letters.ckd", ReadWholeFile(Example("td-a-function-keys.ckd")));
  commands->btnDownloadClick();
  EXPECT_EQ(port->log,
            "\r\nWarning: 24 keys will not be programmed as written (see Key Map).\r\n"
            "\r\nIMPORTANT: Downloading only first 24 keys of file!\r\nDownloading 24 keys."
            "\r\n...Download start\r\n...Downloading globals.\r\n...Downloading keys."
            "\r\nSUCCESS! Download Complete.\r\n");
  const sim::ReceivedKeyImage image = Received();
  ASSERT_EQ(image.keys.size(), 24u);
  for (std::size_t k = 0; k < 24; ++k)
    ExpectKeyReceived(image.keys[k], app->keyTable[k]);
  EXPECT_TRUE(port->messages.empty());
}

TEST_F(DownloadProblemWarning, FilesTheKeypadTakesAsWrittenLogNoWarning) {
  Start({"td-a"});
  LoadThenConnect(Example("td-a-function-keys.ckd"));
  commands->btnDownloadClick();
  EXPECT_EQ(port->log.find("Warning"), std::string::npos) << port->log;
  EXPECT_EQ(Received().keys.size(), 24u);

  // A TD-B takes all 48 keys of the letters file.
  StartAndConnect({"td-b"});
  LoadThenConnect(Example("td-b-letters.ckd"));
  commands->btnDownloadClick();
  EXPECT_EQ(port->log.find("Warning"), std::string::npos) << port->log;
  EXPECT_EQ(Received().keys.size(), 48u);
}

TEST_F(DownloadProblemWarning, ThePrgTModeDownloadWarnsOfTheFilesOwnProblems) {
  Start({"prg-tmode-td-b"});
  // Key 1's level 1 has a rejected pair: it is sent with no codes.
  const std::string path =
      temp.Write("rejected.ckd",
                 "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n[KEY0]\r\nLevel_1_Codes=05\r\n"
                 "[KEY1]\r\nLevel_1_Codes=0500\r\n");
  LoadThenConnect(path);
  // The same line as Open File wrote, first, then the flow's own lines.
  const std::size_t warning = loadLog.find("\r\nWarning: 1 key will not");
  ASSERT_NE(warning, std::string::npos) << loadLog;
  commands->btnDownloadClick();
  EXPECT_EQ(port->log.rfind(loadLog.substr(warning) + "\r\nDownloading 24 keys via PRG/TMode.", 0),
            0u)
      << port->log;
  EXPECT_NE(port->log.find("SUCCESS"), std::string::npos) << port->log;
}

}  // namespace
}  // namespace tdxx::test
