// The window program's command line as a user meets it from a terminal without a display:
// --help and --version answer on the standard output, a wrong option is a usage error, and the
// program says why it cannot open its window instead of aborting in the toolkit.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"

namespace tdxx::test {
namespace {

// No window system at all: none named, none in the environment.
ProgramRun RunWithoutDisplay(const std::vector<std::string>& args) {
  return RunProgram(TDXX_WINDOW_PROGRAM, args, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
}

TEST(WindowProgramOptions, HelpAndVersionAnswerWithoutADisplay) {
  for (const char* help : {"--help", "-h"}) {
    const ProgramRun run = RunWithoutDisplay({help});
    SCOPED_TRACE(help);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Usage: tdxxload [OPTION...] [FILE]\n", 0), 0u) << run.out;
    for (const char* option : {"--simulate=KIND", "--record-hid=FILE", "--keys=FILE", "--version",
                               "-platform NAME", "Exit status"})
      EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
  // Help wins over a data file beside it, which is then neither read nor downloaded.
  EXPECT_EQ(RunWithoutDisplay({"keys.ckd", "--help"}).status, 0);

  const ProgramRun version = RunWithoutDisplay({"--version"});
  EXPECT_EQ(version.status, 0) << version.err;
  EXPECT_EQ(version.out, "tdxxload " TDXX_VERSION "\n");
  EXPECT_EQ(version.err, "");
  // The toolkit's own options may stand beside them.
  EXPECT_EQ(RunWithoutDisplay({"-platform", "offscreen", "--version"}).out, version.out);
}

TEST(WindowProgramOptions, AWrongOptionIsAUsageErrorNotADataFile) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--bogus"}, "tdxxload: unknown option '--bogus'\n"},
      {{"-x", "keys.ckd"}, "tdxxload: unknown option '-x'\n"},
      // A misspelt option of ours is not taken for a file either.
      {{"--simulat=td-a"}, "tdxxload: unknown option '--simulat=td-a'\n"},
      {{"--simulate="}, "tdxxload: --simulate needs a list of device kinds\n"},
      {{"--help", "--bogus"}, "tdxxload: unknown option '--bogus'\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front());
    const ProgramRun run = RunWithoutDisplay(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(c.message, 0), 0u) << run.err;
    EXPECT_NE(run.err.find("tdxxload --help"), std::string::npos) << run.err;
  }
}

TEST(WindowProgramOptions, WithoutAWindowSystemItSaysSoAndEnds) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"--", "-keys.ckd"}, {"--simulate=td-a"}}) {
    const ProgramRun run = RunWithoutDisplay(args);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("tdxxload: no display", 0), 0u) << run.err;
  }
}

// The manual page names every option the help lists (the page's "\-" are dashes).
TEST(WindowProgramOptions, TheManualPageNamesEveryOptionOfTheHelp) {
  const ProgramRun help = RunWithoutDisplay({"--help"});
  std::ifstream page(TDXX_MAN_PAGE);
  std::stringstream text;
  text << page.rdbuf();
  const std::string manual = std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
  ASSERT_FALSE(manual.empty());
  const std::regex option(R"((^|[ ,])(--?[a-z][a-z-]*))");
  int options = 0;
  std::istringstream lines(help.out.substr(help.out.find("Options:")));
  for (std::string line; std::getline(lines, line) && !line.empty();) {
    for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it) {
      ++options;
      EXPECT_NE(manual.find((*it)[2].str()), std::string::npos) << (*it)[2].str();
    }
  }
  EXPECT_GE(options, 6);
}

}  // namespace
}  // namespace tdxx::test
