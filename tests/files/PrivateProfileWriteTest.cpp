#include <gtest/gtest.h>
#include <sys/stat.h>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "UpgBuilder.h"
#include "files/PrivateProfile.h"

namespace tdxx {
namespace {

using test::ReadWholeFile;
using test::TempFolder;

TEST(PrivateProfileWrite, ReplacesOnlyThatKeysLine) {
  const TempFolder folder;
  struct Case {
    std::string before, section, key, value, after;
  };
  const Case cases[] = {
      // The key as the file spells it, among comments, odd blanks and mixed line ends.
      {"; settings\r\n[Other]\nDownloadMode=1\r\n[CONFIGURATION]\r\n  downloadmode = 0 \r\n"
       "Extra = keep  me\r[Last]\nx=1",
       "configuration", "DownloadMode", "2",
       "; settings\r\n[Other]\nDownloadMode=1\r\n[CONFIGURATION]\r\ndownloadmode=2\r\n"
       "Extra = keep  me\r[Last]\nx=1"},
      // Only the first of two equal keys.
      {"[S]\nK=1\nK=2\n", "S", "K", "3", "[S]\nK=3\nK=2\n"},
      // A new key goes after the section's last line, before the blank line; LF as the file has.
      {"[A]\na=1\n\n[B]\nb=2\n", "a", "New", "v", "[A]\na=1\nNew=v\n\n[B]\nb=2\n"},
      // A last line without a line end gets one.
      {"[A]\r\na=1", "A", "b", "2", "[A]\r\na=1\r\nb=2\r\n"},
      // A new section at the end, after a blank line.
      {"[A]\na=1\n", "CONFIGURATION", "DownloadMode", "0",
       "[A]\na=1\n\n[CONFIGURATION]\nDownloadMode=0\n"},
      // An empty file is written as a new one, with CR LF.
      {"", "CONFIGURATION", "DownloadMode", "1", "[CONFIGURATION]\r\nDownloadMode=1\r\n"},
      // The byte-order mark stays.
      {"\xEF\xBB\xBF[S]\r\nK=1\r\n", "S", "K", "22", "\xEF\xBB\xBF[S]\r\nK=22\r\n"},
  };
  for (const Case& c : cases) {
    const std::string path = folder.Write("t.ini", c.before);
    ASSERT_TRUE(WriteProfileString(path, c.section, c.key, c.value)) << c.before;
    EXPECT_EQ(ReadWholeFile(path), c.after) << c.before;
    EXPECT_EQ(ReadProfileString(path, c.section, c.key, "?"), c.value);
  }
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"t.ini"});  // no temporary file left
}

TEST(PrivateProfileWrite, CreatesTheFileAndKeepsReadingItBack) {
  const TempFolder folder;
  const std::string path = folder.path() + "/TDxxLoad.ini";
  ASSERT_TRUE(WriteProfileString(path, "CONFIGURATION", "DownloadMode", "2"));
  ASSERT_TRUE(WriteProfileString(path, "CONFIGURATION", "DownloadMode", "0"));
  ASSERT_TRUE(WriteProfileString(path, "Other", "Name", "x y"));
  EXPECT_EQ(ReadWholeFile(path), "[CONFIGURATION]\r\nDownloadMode=0\r\n\r\n[Other]\r\nName=x y\r\n");
  EXPECT_EQ(ReadProfileInt(path, "CONFIGURATION", "DownloadMode", 9), 0);
}

TEST(PrivateProfileWrite, KeepsAUtf16FileUtf16) {
  const TempFolder folder;
  const auto utf16 = [](std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
      bytes += c;
      bytes += '\0';
    }
    return bytes;
  };
  const std::string path = folder.Write("u.ini", utf16("[S]\r\nA=1\r\nB=2\r\n"));
  ASSERT_TRUE(WriteProfileString(path, "S", "A", "10"));
  EXPECT_EQ(ReadWholeFile(path), utf16("[S]\r\nA=10\r\nB=2\r\n"));
}

TEST(PrivateProfileWrite, KeepsTheFilesPermissions) {
  const TempFolder folder;
  const std::string path = folder.Write("p.ini", "[S]\nK=1\n");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteProfileString(path, "S", "K", "2"));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(PrivateProfileWrite, RefusesWhatCannotBeWrittenSafely) {
  const TempFolder folder;
  const std::string blocker = folder.Write("file", "not a folder");
  const std::string good = folder.Write("good.ini", "[S]\nK=1\n");
  EXPECT_FALSE(WriteProfileString(folder.path() + "/missing/TDxxLoad.ini", "S", "K", "1"));
  EXPECT_FALSE(WriteProfileString(blocker + "/TDxxLoad.ini", "S", "K", "1"));
  EXPECT_FALSE(WriteProfileString(folder.path(), "S", "K", "1"));  // a folder as the file
  EXPECT_FALSE(WriteProfileString(good, "S", "K", "1\r\n[T]"));
  EXPECT_FALSE(WriteProfileString(good, "S", "K=", "1"));
  EXPECT_FALSE(WriteProfileString(good, "S\n", "K", "1"));
  EXPECT_FALSE(WriteProfileString(good, "", "K", "1"));
  EXPECT_FALSE(WriteProfileString(good, "S", " ", "1"));
  EXPECT_FALSE(WriteProfileString(good, "S", ";K", "1"));
  EXPECT_EQ(ReadWholeFile(good), "[S]\nK=1\n");
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"file", "good.ini"}));
}

}  // namespace
}  // namespace tdxx
