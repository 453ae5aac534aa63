#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/QuestionAnswer.h"
#include "cli/TerminalOutput.h"

namespace tdxx::test {
namespace {

TEST(TerminalOutput, OnATerminalKeyAndBlockLinesLabelTheBarInsteadOfThePrintedLog) {
  std::ostringstream out, errors;
  cli::TerminalOutput terminal(out, errors, true);
  terminal.Log("\r\nDownloading 24 keys via PRG/TMode.");
  terminal.Log("\r\n...Downloading keys.");
  for (int key = 1; key <= 12; ++key) {
    terminal.Log("\r\n...Downloading key #" + std::to_string(key) + ".");
    terminal.Progress(key, 26);
  }
  const std::string bar = errors.str();
  EXPECT_NE(bar.find("keys 12/24"), std::string::npos) << bar;
  EXPECT_EQ(bar.find("keys 13/24"), std::string::npos);
  terminal.Log("\r\n...Flash data, block 37 of 109");
  terminal.Progress(13, 26);
  EXPECT_NE(errors.str().find("block 37/109"), std::string::npos);
  terminal.Log("\r\nSUCCESS! Download Complete.\r\n");
  terminal.Finish();
  EXPECT_EQ(out.str(),
            "\nDownloading 24 keys via PRG/TMode.\n...Downloading keys.\n"
            "SUCCESS! Download Complete.\n");
}

TEST(TerminalOutput, WithoutATerminalTheLogStaysAsItIsAndNotesStartOnTheirOwnLine) {
  std::ostringstream out, errors;
  cli::TerminalOutput terminal(out, errors, false);
  terminal.Log("\r\n...Downloading key #1.\r\n...Flash data, block 1 of 2");
  terminal.Progress(1, 2);
  terminal.Note("Flash Update Note: Success!");
  terminal.Note("Second: box");
  terminal.Finish();
  EXPECT_EQ(out.str(), "\n...Downloading key #1.\n...Flash data, block 1 of 2\n");
  // The open log line ends before the first box; each box ends its own line.
  EXPECT_EQ(errors.str(), "\nFlash Update Note: Success!\nSecond: box\n");
}

TEST(TerminalOutput, StepLabelsNameTheStepAndItsTotal) {
  EXPECT_EQ(cli::StepLabel("...Downloading key #7.", 24), "keys 7/24");
  EXPECT_EQ(cli::StepLabel("...Downloading key #7.", 0), "key 7");
  EXPECT_EQ(cli::StepLabel("...Flash data, block 2 of 109", 0), "block 2/109");
  EXPECT_EQ(cli::StepLabel("...Downloading keys.", 24), "");
  EXPECT_EQ(cli::ProgressLine(5, 10, Milliseconds(-1), 10, "keys 5/10"), "[#####.....]  keys 5/10");
}

TEST(QuestionAnswer, WithoutATerminalTheAnswerIsNoAndTheLineSaysToPassYes) {
  std::istringstream in("y\n");
  std::ostringstream prompt;
  EXPECT_EQ(cli::AnswerQuestion(cli::QuestionPolicy::Ask, false, in, prompt), MessageResult::No);
  EXPECT_NE(prompt.str().find("Pass --yes"), std::string::npos);
  EXPECT_TRUE(prompt.str().ends_with("\n"));

  std::ostringstream asked;
  EXPECT_EQ(cli::AnswerQuestion(cli::QuestionPolicy::Ask, true, in, asked,
                                "Erase the key definitions of the TD-A?"),
            MessageResult::Yes);
  EXPECT_EQ(asked.str(), "Erase the key definitions of the TD-A? [y/N] ");
}

}  // namespace
}  // namespace tdxx::test
