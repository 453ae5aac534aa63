#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "RecordingLog.h"
#include "TempFolder.h"
#include "cli/DataFileReport.h"
#include "cli/HexText.h"
#include "cli/KeysCommand.h"
#include "files/KeyDefinitionReader.h"
#include "files/KeyLevelLayout.h"

namespace tdxx::test {
namespace {

struct KeysRun {
  int status;
  std::string out;
  std::string errors;
};

KeysRun Keys(const cli::KeysOptions& options) {
  std::ostringstream out, errors;
  const int status = cli::RunKeys(options, out, errors);
  return {status, out.str(), errors.str()};
}

cli::KeysOptions Show(const std::string& file, bool json = true) {
  cli::KeysOptions options;
  options.file = file;
  options.json = json;
  return options;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    lines.push_back(line);
  return lines;
}

// The CKD files of the examples and of the reader's fuzz corpus.
std::vector<std::string> KnownFiles() {
  std::vector<std::string> files;
  for (const char* folder : {TDXX_EXAMPLES_DIR, TDXX_CKD_CORPUS_DIR}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file() && entry.path().extension() != ".upg")
        files.push_back(entry.path().string());
    }
  }
  return files;
}

// What `keys --json` says of every known file is what the reader fills: the sent bytes of each
// level, the global bytes, and a problem exactly where a non-empty text sends nothing.
TEST(KeysCommand, EveryKnownFileReportsTheImagesTheReaderFills) {
  const std::vector<std::string> files = KnownFiles();
  ASSERT_GT(files.size(), 100u);
  for (const std::string& path : files) {
    auto table = std::make_unique<KeyTable>();
    GlobalParameterBlock block;
    RecordingLog log;
    const int keyCount = ReadKeyDefinitionFile(path, *table, block, log);
    const KeysRun run = Keys(Show(path));
    if (keyCount == 0) {
      EXPECT_EQ(run.status, cli::kKeysUnusable) << path;
      continue;
    }
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json["keyCount"], keyCount) << path;
    ASSERT_EQ(json["keys"].size(), static_cast<std::size_t>(keyCount)) << path;
    EXPECT_EQ(json["exitCode"], run.status);
    EXPECT_EQ(run.status, json["problems"].empty() ? cli::kKeysClean : cli::kKeysProblems);
    EXPECT_EQ(json["global"]["Character_Pacing"]["sent"],
              block.bytes[GlobalParameterBlock::kCharacterPacing]);
    EXPECT_EQ(json["global"]["USB_Device_Type"]["sent"],
              block.bytes[GlobalParameterBlock::kUsbDeviceType]);
    for (int k = 0; k < keyCount; ++k) {
      const KeyRecord& record = (*table)[static_cast<std::size_t>(k)];
      for (int level = 1; level <= 2; ++level) {
        const auto& shown = json["keys"][k]["levels"][level - 1];
        const KeyLevelLayout& layout = level == 1 ? kLevel1Layout : kLevel2Layout;
        const std::uint8_t length = record.bytes[layout.length];
        EXPECT_EQ(shown["sent"]["length"], length) << path << " key " << k;
        EXPECT_EQ(shown["sent"]["codes"], cli::HexText(record.bytes.data() + layout.codes, length))
            << path << " key " << k;
        bool named = false;
        for (const auto& problem : json["problems"])
          named = named || (problem["key"] == k && problem["level"] == level);
        const std::string text = shown["codeText"];
        if (text.empty()) {
          EXPECT_FALSE(named) << path << " key " << k << " level " << level;
        } else if (length == 0) {
          EXPECT_TRUE(named) << path << " key " << k << " level " << level;
        }
      }
    }
  }
}

TEST(KeysCommand, EditsChangeOnlyTheirLines) {
  TempFolder temp;
  const std::string original = ReadWholeFile(TDXX_EXAMPLES_DIR "/td-b-letters.ckd");
  const std::string path = temp.Write("keys.ckd", original);
  cli::KeysOptions options = Show(path, false);
  options.sets = {"3.1=keys:Ctrl+C", "0.2=text:Hi"};
  const KeysRun run = Keys(options);
  ASSERT_EQ(run.status, cli::kKeysClean) << run.errors;
  EXPECT_NE(
      run.out.find("Key 3: level 1 Ctrl+C (mode 0, flags 03 HasCodes|AutoRepeat, auto-repeat)"),
      std::string::npos);

  const std::vector<std::string> before = Lines(original);
  const std::vector<std::string> after = Lines(ReadWholeFile(path));
  ASSERT_EQ(before.size(), after.size());
  std::vector<std::string> changed;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] != after[i])
      changed.push_back(after[i]);
  }
  EXPECT_EQ(changed, (std::vector<std::string>{"Level_2_Codes=1233f033f01243f043\r",
                                               "Level_1_Codes=1421f021f014\r"}));
  // Key 3's level 1 line is the one in [KEY3].
  const std::string saved = ReadWholeFile(path);
  EXPECT_NE(saved.find("[KEY3]\r\nL1_MacroMode=0\r\nL1_AutoRepeat=1\r\nLevel_1_Codes=1421f021f014"),
            std::string::npos);
}

TEST(KeysCommand, SavingWithoutEditsIsByteIdentical) {
  TempFolder temp;
  for (const char* name : {"td-a-function-keys.ckd", "td-b-letters.ckd"}) {
    const std::string original = ReadWholeFile(std::string(TDXX_EXAMPLES_DIR "/") + name);
    const std::string path = temp.Write(name, original);
    cli::KeysOptions options = Show(path);
    options.output = temp / "copy.ckd";
    ASSERT_EQ(Keys(options).status, cli::kKeysClean);
    EXPECT_EQ(ReadWholeFile(options.output), original);
  }
}

TEST(KeysCommand, ExitStatuses) {
  TempFolder temp;
  const std::string good = temp.Write("good.ckd", "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n");
  const std::string bad = temp.Write("bad.ckd",
                                     "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n"
                                     "[KEY2]\r\nLevel_1_Codes=e5\r\n");
  EXPECT_EQ(Keys(Show(good)).status, cli::kKeysClean);
  const KeysRun problems = Keys(Show(bad, false));
  EXPECT_EQ(problems.status, cli::kKeysProblems);
  EXPECT_NE(problems.out.find("Key 2, level 1: code 1 \"e5\" is above e4"), std::string::npos)
      << problems.out;
  EXPECT_EQ(Keys(Show(temp / "missing.ckd")).status, cli::kKeysUnusable);

  // A bad SPEC, key or value names itself and leaves the file alone.
  const std::string before = ReadWholeFile(good);
  for (const std::vector<std::string>& sets : std::vector<std::vector<std::string>>{
           {"3.1=keys:Hyper"}, {"66.1=none"}, {"3.3=none"}, {"3.1=codes:e5"}, {"3.1"}}) {
    cli::KeysOptions options = Show(good);
    options.sets = sets;
    const KeysRun run = Keys(options);
    EXPECT_EQ(run.status, cli::kKeysUnusable) << sets[0];
    EXPECT_NE(run.errors.find(sets[0]), std::string::npos) << run.errors;
  }
  cli::KeysOptions mode = Show(good);
  mode.modes = {"1.1=7"};
  EXPECT_EQ(Keys(mode).status, cli::kKeysUnusable);
  cli::KeysOptions global = Show(good);
  global.globals = {"Character_Pacing=300"};
  EXPECT_EQ(Keys(global).status, cli::kKeysUnusable);
  EXPECT_EQ(ReadWholeFile(good), before);

  // The save itself fails: 1.
  cli::KeysOptions unsaved = Show(good);
  unsaved.sets = {"1.1=keys:F1"};
  unsaved.output = temp / "no/such/folder.ckd";
  const KeysRun failed = Keys(unsaved);
  EXPECT_EQ(failed.status, cli::kKeysProblems);
  EXPECT_NE(failed.errors.find("No such file or directory"), std::string::npos);

  cli::KeysOptions fresh;
  fresh.json = true;
  fresh.newModel = "td-b";
  EXPECT_EQ(Keys(fresh).status, cli::kKeysUnusable);  // --new needs --output
  fresh.output = temp / "new.ckd";
  fresh.autoRepeats = {"47.2=1"};
  fresh.keyTypes = {"5=1"};
  const KeysRun made = Keys(fresh);
  ASSERT_EQ(made.status, cli::kKeysClean) << made.errors;
  const auto json = nlohmann::json::parse(made.out);
  EXPECT_EQ(json["model"], "TD-B");
  EXPECT_EQ(json["keys"][47]["levels"][1]["autoRepeat"], true);
  EXPECT_EQ(json["keys"][5]["keyType"], 1);
}

TEST(KeysCommand, InspectKeepsItsRawFormAndListsProblems) {
  TempFolder temp;
  const std::string path = temp.Write(
      "keys.ckd", "[GLOBAL_PARAMETERS]\r\nNumber_Of_Keys=24\r\n[KEY2]\r\nLevel_1_Codes=1c00\r\n");
  std::ostringstream out, errors;
  EXPECT_EQ(cli::RunInspect(path, true, out, errors), cli::kInspectRead);
  const auto json = nlohmann::json::parse(out.str());
  EXPECT_EQ(json["keyRecords"].size(), 66u);
  ASSERT_EQ(json["problems"].size(), 1u);
  EXPECT_EQ(json["problems"][0]["key"], 2);
  EXPECT_EQ(json["problems"][0]["level"], 1);
  std::ostringstream text;
  cli::RunInspect(path, false, text, errors);
  EXPECT_NE(text.str().find("Key 2: level 1 flags 09"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("Problems (1):\n  Key 2, level 1: code 2 \"00\" is 00"),
            std::string::npos);
}

}  // namespace
}  // namespace tdxx::test
