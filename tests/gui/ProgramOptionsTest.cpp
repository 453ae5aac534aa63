// The window program's own options beside the toolkit's, read before the toolkit starts.

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "gui/QtCommandLine.h"

namespace tdxx::test {
namespace {

ProgramOptions Parse(std::vector<const char*> argv) {
  argv.insert(argv.begin(), "tdxxload");
  return ParseProgramOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(ProgramOptions, TheToolkitsOptionsArePassedOverWithTheirValues) {
  const struct {
    std::vector<const char*> argv;
    std::vector<std::string> arguments;
    bool windowSystem;
  } cases[] = {
      {{"-platform", "offscreen", "k.ckd"}, {"k.ckd"}, true},
      {{"--platform", "xcb", "k.ckd"}, {"k.ckd"}, true},
      {{"-display", ":1", "k.ckd"}, {"k.ckd"}, true},
      {{"-style", "fusion", "-reverse", "k.ckd"}, {"k.ckd"}, false},
      {{"-style=fusion", "k.ckd"}, {"k.ckd"}, false},
      {{"k.ckd", "-qwindowgeometry", "600x400", "-widgetcount"}, {"k.ckd"}, false},
      // After "--" nothing is an option; "-" alone is a name.
      {{"--", "-platform", "-k.ckd"}, {"-platform", "-k.ckd"}, false},
      {{"-"}, {"-"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argv.front());
    const ProgramOptions options = Parse(c.argv);
    EXPECT_EQ(options.error, "");
    EXPECT_EQ(options.arguments, c.arguments);
    EXPECT_EQ(options.toolkitWindowSystemGiven, c.windowSystem);
  }
}

TEST(ProgramOptions, HelpVersionKeysAndUnknownOptions) {
  EXPECT_TRUE(Parse({"-h"}).showHelp);
  EXPECT_TRUE(Parse({"k.ckd", "--help"}).showHelp);
  EXPECT_TRUE(Parse({"--version"}).showVersion);
  EXPECT_FALSE(Parse({"--", "--help"}).showHelp);

  EXPECT_EQ(Parse({"--keys", "a.ckd"}).keysFile, "a.ckd");
  EXPECT_EQ(Parse({"--keys=b.ckd", "c.ckd"}).keysFile, "b.ckd");
  EXPECT_EQ(Parse({"--keys"}).error, "--keys needs a key-definition file");

  // A word that only begins like an option of ours, or of the toolkit's, is no option.
  for (const char* unknown : {"--bogus", "-x", "--simulates=td-a", "--keysfile", "-platformx",
                              "--platform=xcb", "--record-hid-to=x"})
    EXPECT_EQ(Parse({unknown, "k.ckd"}).error, std::string("unknown option '") + unknown + "'");
}

TEST(ProgramOptions, AWindowSystemIsMissingOnlyWhenNothingNamesOne) {
  static std::vector<std::string> set;
  const auto fakeEnvironment = [](const char* name) -> const char* {
    for (const std::string& entry : set) {
      if (entry.rfind(std::string(name) + "=", 0) == 0)
        return entry.c_str() + std::strlen(name) + 1;
    }
    return nullptr;
  };
  set = {};
  EXPECT_NE(MissingWindowSystem(Parse({}), fakeEnvironment), "");
  set = {"DISPLAY="};
  EXPECT_NE(MissingWindowSystem(Parse({}), fakeEnvironment), "");
  EXPECT_EQ(MissingWindowSystem(Parse({"-platform", "offscreen"}), fakeEnvironment), "");
  for (const char* named :
       {"DISPLAY=:0", "WAYLAND_DISPLAY=wayland-0", "QT_QPA_PLATFORM=offscreen"}) {
    set = {named};
    EXPECT_EQ(MissingWindowSystem(Parse({}), fakeEnvironment), "") << named;
  }
}

TEST(ProgramOptions, HelpFitsATerminal) {
  std::istringstream help(ProgramHelpText());
  int lines = 0;
  for (std::string line; std::getline(help, line); ++lines)
    EXPECT_LE(line.size(), 80u) << line;
  EXPECT_GT(lines, 10);
}

}  // namespace
}  // namespace tdxx::test
