#include <gtest/gtest.h>

#include <vector>

#include "AppFixture.h"

namespace tdxx::test {
namespace {

// Which way the command goes for each kind, file type and method is in
// DownloadDispatchTableTest; this is the timer that runs it.
using DownloadCommand = AppFixture;

TEST_F(DownloadCommand, TModeTimerRunsTheCommandAsAClick) {
  Start();
  commands->tmrTModeDownloadTimer();
  EXPECT_EQ(port->log, "\r\nDownload canceled: no data file specified.");
  EXPECT_EQ(port->commandsEnabledHistory, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace tdxx::test
