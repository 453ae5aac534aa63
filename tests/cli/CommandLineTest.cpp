#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliMain.h"
#include "cli/HelpFormatter.h"

namespace tdxx::test {
namespace {

// One run of tdxxload-cli in this process, with what it printed.
struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string errors;
};

CliRun RunCommandLine(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "tdxxload-cli");
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  std::ostringstream out, errors;
  std::streambuf* const savedOut = std::cout.rdbuf(out.rdbuf());
  std::streambuf* const savedErrors = std::cerr.rdbuf(errors.rdbuf());
  CliRun run;
  run.exitCode = cli::RunCli(static_cast<int>(argv.size()), argv.data());
  std::cout.rdbuf(savedOut);
  std::cerr.rdbuf(savedErrors);
  run.out = out.str();
  run.errors = errors.str();
  return run;
}

TEST(CommandLine, BadValuesAreUsageErrorsThatSayWhatIsAllowed) {
  const CliRun bare = RunCommandLine({});
  EXPECT_EQ(bare.exitCode, 2);
  EXPECT_NE(bare.errors.find("Usage: tdxxload-cli"), std::string::npos) << bare.errors;

  const CliRun wait = RunCommandLine({"--simulate=td-a", "download", "--wait", "-1", "x.ckd"});
  EXPECT_EQ(wait.exitCode, 2);
  EXPECT_NE(wait.errors.find("--wait takes a number of seconds, 0 or more"), std::string::npos)
      << wait.errors;

  for (const std::string& simulate : {std::string("--simulate="), std::string("--simulate=,")}) {
    const CliRun empty = RunCommandLine({simulate, "detect"});
    EXPECT_EQ(empty.exitCode, 2) << simulate;
    EXPECT_NE(empty.errors.find("--simulate takes KIND[,KIND...] of "), std::string::npos);
    EXPECT_NE(empty.errors.find("td-a"), std::string::npos) << "the kinds are listed";
  }

  const CliRun device = RunCommandLine({"--device", "/dev/hidraw-none-9", "detect"});
  EXPECT_EQ(device.exitCode, 2);
  EXPECT_EQ(device.errors, "no such interface: /dev/hidraw-none-9\n");
  const CliRun simulated = RunCommandLine({"--simulate=td-a", "--device", "/sim/x", "detect"});
  EXPECT_EQ(simulated.exitCode, 2);
  EXPECT_NE(simulated.errors.find("no such interface: /sim/x"), std::string::npos);

  // Only commands with a question take --no.
  EXPECT_EQ(RunCommandLine({"--simulate=td-a", "bootloader", "--no"}).exitCode, 2);
  EXPECT_EQ(RunCommandLine({"--simulate=td-a", "reboot", "--no"}).exitCode, 2);
  EXPECT_EQ(RunCommandLine({"--simulate=td-a", "reboot", "--yes"}).exitCode, 0);
}

TEST(CommandLine, DetectJsonCarriesItsExitCodeAndTheKindsName) {
  const CliRun run = RunCommandLine({"--simulate=wk-c", "detect", "--json"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("\"exitCode\":0"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"kindName\":\"WK-C keyboard\""), std::string::npos) << run.out;
  const CliRun several = RunCommandLine({"--simulate=wk-c,td-a", "detect", "--json"});
  EXPECT_EQ(several.exitCode, 3);
  EXPECT_NE(several.out.find("\"exitCode\":3"), std::string::npos) << several.out;
}

TEST(WrapText, KeepsWordsWholeWithinTheWidthAndIndentsContinuations) {
  EXPECT_EQ(cli::WrapText("one two three four", 10, 2, false), "one two\n  three\n  four");
  EXPECT_EQ(cli::WrapText("a\nb c", 80, 1, true), " a\n b c");
  // A word longer than the line stands alone rather than being cut.
  EXPECT_EQ(cli::WrapText("x averyveryverylongword y", 8, 0, true), "x\naveryveryverylongword\ny");
}

// --- --help against the man page -------------------------------------------------------
// Both list the same commands and, for each, the same options. A command added later (to both)
// is compared like the others: its man page section is ".SS NAME ..." with one ".TP" entry per
// option, as the others are written.

std::string ManPage() {
  const std::filesystem::path page =
      std::filesystem::path(__FILE__).parent_path() / "../../packaging/man/tdxxload-cli.1";
  std::ifstream file(page);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The options of a --help text: "--name" at the start of each entry; --help left out.
std::set<std::string> HelpOptions(const std::string& help) {
  std::set<std::string> options;
  const std::regex entry(R"(^  (?:-[a-z],)?(--[a-z][a-z-]*))");
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, entry) && match[1] != "--help")
      options.insert(match[1]);
  }
  return options;
}

std::vector<std::string> HelpCommands(const std::string& help) {
  std::vector<std::string> commands;
  std::istringstream lines(help);
  bool inCommands = false;
  for (std::string line; std::getline(lines, line);) {
    if (line == "Subcommands:") {
      inCommands = true;
      continue;
    }
    if (inCommands && line.empty())
      break;
    if (inCommands && line.size() > 2 && line[2] != ' ')
      commands.push_back(line.substr(2, line.find(' ', 2) - 2));
  }
  return commands;
}

// The man page's sections: ".SS NAME" for a command, "OPTIONS" for the options before it;
// each with the options its ".TP" entries name.
std::map<std::string, std::set<std::string>> ManSections(const std::string& page) {
  std::map<std::string, std::set<std::string>> sections;
  const std::regex option(R"(\\-\\-([a-z][a-z\\-]*))");
  std::string current;
  bool afterTp = false;
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(".SS ")) {
      current = line.substr(4, line.find(' ', 4) - 4);
      sections[current];
    } else if (line.starts_with(".SH ")) {
      current = line == ".SH OPTIONS" ? "OPTIONS" : "";
    } else if (afterTp && !current.empty()) {
      std::smatch match;
      if (std::regex_search(line, match, option)) {
        std::string name = match[1];
        name = std::regex_replace(name, std::regex(R"(\\-)"), "-");
        if (name != "help")
          sections[current].insert("--" + name);
      }
    }
    afterTp = line == ".TP";
  }
  return sections;
}

TEST(CommandLine, HelpAndTheManPageListTheSameCommandsAndOptions) {
  const CliRun help = RunCommandLine({"--help"});
  ASSERT_EQ(help.exitCode, 0);
  const std::map<std::string, std::set<std::string>> man = ManSections(ManPage());
  ASSERT_TRUE(man.contains("OPTIONS"));
  EXPECT_EQ(HelpOptions(help.out), man.at("OPTIONS"));

  const std::vector<std::string> commands = HelpCommands(help.out);
  EXPECT_GE(commands.size(), 7u);
  std::set<std::string> manCommands;
  for (const auto& [name, options] : man) {
    if (name != "OPTIONS")
      manCommands.insert(name);
  }
  EXPECT_EQ(std::set<std::string>(commands.begin(), commands.end()), manCommands);
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    const CliRun commandHelp = RunCommandLine({command, "--help"});
    EXPECT_EQ(commandHelp.exitCode, 0);
    if (man.contains(command)) {
      EXPECT_EQ(HelpOptions(commandHelp.out), man.at(command));
    }
  }
}

TEST(CommandLine, HelpFitsEightyColumnsNamesItsValuesAndStatesTheExitTable) {
  const CliRun help = RunCommandLine({"--help"});
  std::vector<std::string> texts = {help.out};
  for (const std::string& command : HelpCommands(help.out))
    texts.push_back(RunCommandLine({command, "--help"}).out);
  for (const std::string& text : texts) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
      EXPECT_LE(line.size(), cli::HelpFormatter::kWidth) << line;
    EXPECT_EQ(text.find("TEXT"), std::string::npos) << text;
    EXPECT_EQ(text.find("INT"), std::string::npos) << text;
  }
  for (const char* row : {"  0  done", "  1  a flow ran and failed", "  2  usage error",
                          "  3  several devices", "  4  refused before anything was sent"})
    EXPECT_NE(help.out.find(row), std::string::npos) << row;
  EXPECT_NE(texts.back().find("--yes"), std::string::npos);
  EXPECT_EQ(RunCommandLine({"--version"}).out, "tdxxload-cli 1.70\n");
}

}  // namespace
}  // namespace tdxx::test
