#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TempFolder.h"
#include "UpgBuilder.h"
#include "cli/DataFileReport.h"
#include "files/FirmwareReader.h"

namespace tdxx::test {
namespace {

struct Inspected {
  int status;
  std::string out;
  std::string errors;
};

Inspected Inspect(const std::string& path, bool json) {
  std::ostringstream out, errors;
  const int status = cli::RunInspect(path, json, out, errors);
  return {status, out.str(), errors.str()};
}

TEST(DataFileReport, KeyDefinitionsAsJsonHoldTheExactImagesAndLog) {
  TempFolder temp;
  const std::string path = temp.Write(
      "keys.ckd",
      "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\nKey_Roll_Over=5\r\n[KEY1]\r\nL1_MacroMode=0\r\n"
      "Level_1_Codes=12f012\r\nKeyType=2\r\n");
  const Inspected result = Inspect(path, true);
  ASSERT_EQ(result.status, cli::kInspectRead) << result.errors;
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["fileType"], "ckd");
  EXPECT_EQ(json["path"], path);
  EXPECT_EQ(json["keyCount"], 24);
  EXPECT_EQ(json["log"], "\r\nCKD File Type: TD-A (loading 24 keys)");
  EXPECT_EQ(json["globalParameterBlock"],
            "e4010ae0700180808005"
            "0b04010000");
  ASSERT_EQ(json["keyRecords"].size(), 66u);
  const std::string key1 = json["keyRecords"][1];
  ASSERT_EQ(key1.size(), 688u);
  // marker, type, key 1, level-2 flags 0, level-1 flags 0x09, key 1, length 2, code 0x12.
  EXPECT_EQ(key1.substr(0, 18),
            "e402010009010212"
            "00");
  EXPECT_EQ(json["keyRecords"][0].get<std::string>().substr(0, 14), "e4020000000000");
}

TEST(DataFileReport, FailedKeyDefinitionReadExitsOne) {
  TempFolder temp;
  const Inspected result = Inspect(temp / "none.ckd", true);
  EXPECT_EQ(result.status, cli::kInspectFailed);
  const auto json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["keyCount"], 0);
  EXPECT_EQ(json["log"], "\r\nCannot read file: No such file or directory");
}

TEST(DataFileReport, FirmwareAsJsonHoldsResultVersionAndImage) {
  TempFolder temp;
  UpgBuilder upg;
  upg.Put(0x3FFF, {ExchangeBitPairs(0x1A)}).Put(0x2000, {0x12, 0x34, 0x56});
  upg.header = "hdr\r\n";
  const Inspected good = Inspect(temp.Write("fw.upg", upg.Text()), true);
  ASSERT_EQ(good.status, cli::kInspectRead);
  auto json = nlohmann::json::parse(good.out);
  EXPECT_EQ(json["fileType"], "upg");
  EXPECT_EQ(json["result"], 0);
  EXPECT_EQ(json["imageLength"], 64000);
  EXPECT_EQ(json["versionText"], "1.10x");
  EXPECT_EQ(json["versionByte"], 0x1A);
  EXPECT_EQ(json["log"], "\r\nhdr\r\n");
  const std::string image = json["image"];
  ASSERT_EQ(image.size(), 2u * 64448u);
  EXPECT_EQ(image.substr(2 * 0x2000, 6), "123456");
  EXPECT_EQ(image.substr(0, 4), "ffff");

  upg.Put(0x4001, {'I'});  // the signature as stored, not as read
  const Inspected bad = Inspect(temp.Write("bad.upg", upg.Text()), true);
  EXPECT_EQ(bad.status, cli::kInspectFailed);
  json = nlohmann::json::parse(bad.out);
  EXPECT_EQ(json["result"], -1);
  EXPECT_TRUE(json["imageLength"].is_null());
  EXPECT_TRUE(json["versionText"].is_null());
}

TEST(DataFileReport, FlashDriveCopyReportsWhetherItExists) {
  TempFolder temp;
  const Inspected there = Inspect(temp.Write("copy.BIN", "x"), true);
  EXPECT_EQ(there.status, cli::kInspectRead);
  EXPECT_EQ(nlohmann::json::parse(there.out)["exists"], true);
  const Inspected gone = Inspect(temp / "gone.bin", true);
  EXPECT_EQ(gone.status, cli::kInspectFailed);
  EXPECT_EQ(nlohmann::json::parse(gone.out)["exists"], false);
}

TEST(DataFileReport, OtherExtensionIsAUsageError) {
  TempFolder temp;
  const Inspected result = Inspect(temp.Write("notes.txt", ""), true);
  EXPECT_EQ(result.status, cli::kInspectUsage);
  EXPECT_EQ(result.out, "");
}

TEST(DataFileReport, ReadableSummaryNamesFlagsAndCodes) {
  TempFolder temp;
  const std::string path =
      temp.Write("keys.ckd",
                 "[GLOBAL_PARAMETERS]\nNumber_Of_Keys=66\n[KEY0]\nL1_MacroMode=1\n"
                 "L1_AutoRepeat=1\nLevel_1_Codes=1c32\n");
  const Inspected result = Inspect(path, false);
  ASSERT_EQ(result.status, cli::kInspectRead);
  EXPECT_NE(result.out.find("Key count: 66"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Key 0: level 1 flags 0b (HasCodes|AutoRepeat|SingleCode), length 3, "
                            "codes 1c 32"),
            std::string::npos)
      << result.out;
}

// In text mode a file that cannot be read gives one line on the error output, naming the file
// and why, and nothing on the output; --json keeps its object.
TEST(DataFileReport, UnreadableFilesGiveOneLineNamingFileAndReason) {
  TempFolder temp;
  std::filesystem::create_directories(temp / "folder.ckd");
  const std::string empty = temp.Write("empty.ckd", "[OTHER]\nx=1\n");
  const std::string locked = temp.Write("locked.ckd", "[KEY0]\nKeyType=2\n");
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  struct Case {
    std::string path;
    std::string reason;
  };
  std::vector<Case> cases = {{temp / "missing.ckd", "No such file or directory"},
                             {temp / "folder.ckd", "Is a directory"},
                             {empty, "no key definitions found"},
                             {temp / "missing.upg", "no such file"},
                             {temp / "missing.bin", "no such file"}};
  if (::geteuid() != 0)  // root reads any file
    cases.push_back({locked, "Permission denied"});
  for (const Case& c : cases) {
    const Inspected result = Inspect(c.path, false);
    EXPECT_EQ(result.status, cli::kInspectFailed) << c.path;
    EXPECT_EQ(result.out, "") << c.path;
    EXPECT_EQ(result.errors, "inspect: " + c.path + ": " + c.reason + "\n");
    const Inspected json = Inspect(c.path, true);
    EXPECT_EQ(nlohmann::json::parse(json.out)["exitCode"], cli::kInspectFailed);
  }
}

TEST(DataFileReport, AFirmwareFileThatFailsSaysWhichLineAndWhy) {
  TempFolder temp;
  UpgBuilder upg;
  upg.Put(0x2000, {0x12, 0x34});
  const std::string good = upg.Text();
  const auto problem = [&](const std::string& text) {
    return Inspect(temp.Write("fw.upg", text), false).errors;
  };
  // The lines: 1 header, 2 checksum, 3 on the records.
  const auto lineStart = [&](int line) {
    std::size_t at = 0;
    for (int i = 1; i < line; ++i)
      at = good.find('\n', at) + 1;
    return at;
  };
  std::string badChecksumLine = good;
  badChecksumLine.replace(lineStart(2), 8, "Chksum =");
  EXPECT_NE(problem(badChecksumLine).find(": line 2: not a checksum line"), std::string::npos);

  std::string badRecord = good;
  const std::size_t recordEnd = good.find('\r', lineStart(3));
  badRecord[recordEnd - 1] = badRecord[recordEnd - 1] == '0' ? '1' : '0';
  EXPECT_NE(problem(badRecord).find(": line 3: the record's checksum is 0x"), std::string::npos)
      << problem(badRecord);

  const std::string outside = good.substr(0, lineStart(3)) + HexRecord(0x1000, 0, {1, 2}) + "\r\n" +
                              good.substr(lineStart(3));
  EXPECT_NE(problem(outside).find(": line 3: address 0x1000 is outside the image (0x2000 to "
                                  "0xFBBF)"),
            std::string::npos)
      << problem(outside);

  const std::string shortRecord =
      good.substr(0, lineStart(3)) + ":10200000AABB\r\n" + good.substr(lineStart(3));
  EXPECT_NE(problem(shortRecord).find(": line 3: the record holds"), std::string::npos)
      << problem(shortRecord);

  upg.withEndRecord = false;
  EXPECT_NE(problem(upg.Text()).find("before the end record"), std::string::npos);
  upg.withEndRecord = true;

  std::string wrongSum = good;
  wrongSum.replace(lineStart(2), good.find('\r', lineStart(2)) - lineStart(2), "Checksum = 0x0001");
  EXPECT_NE(problem(wrongSum).find(": line 2: the file's checksum 0x0001 does not match"),
            std::string::npos)
      << problem(wrongSum);
}

TEST(DataFileReport, KeysAreShownUpToTheKeyCountAndTheSectionsBeyondAreCounted) {
  TempFolder temp;
  std::string text = "[GLOBAL_PARAMETERS]\nNumber_Of_Keys=24\n";
  for (int k = 0; k < 30; ++k)
    text += "[KEY" + std::to_string(k) + "]\nLevel_1_Codes=12\n";
  const Inspected result = Inspect(temp.Write("keys.ckd", text), false);
  ASSERT_EQ(result.status, cli::kInspectRead) << result.errors;
  EXPECT_NE(result.out.find("Key 23: "), std::string::npos);
  EXPECT_EQ(result.out.find("Key 24: level"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("The file holds 6 more key sections beyond the key count"),
            std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace tdxx::test
