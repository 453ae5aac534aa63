// The start-up automation in the windowed program: a key file named on the command line is
// downloaded to the keypad one second after start, and the program closes after the success;
// with two different keypads attached nothing is downloaded and the program stays open.

#include <gtest/gtest.h>

#include <QTest>
#include <chrono>

#include "GuiHarness.h"
#include "sim/SimulatedDevice.h"

namespace tdxx::test {
namespace {

// Runs the event loop until the main window has closed or `limit` has passed.
bool WaitForClose(GuiHarness& gui, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (gui.frmMain.isVisible() && std::chrono::steady_clock::now() < deadline)
    QTest::qWait(20);
  return !gui.frmMain.isVisible();
}

std::string Ending(const std::string& text, std::size_t length) {
  return text.size() < length ? text : text.substr(text.size() - length);
}

TEST(StartupAutomation, ACommandLineKeyFileIsDownloadedAndTheProgramClosesAfterTheSuccess) {
  const std::string keys = std::string(TDXX_EXAMPLES_DIR) + "/td-a-function-keys.ckd";
  GuiHarness gui(std::nullopt, {"td-a"}, {keys});
  ASSERT_EQ(gui.app.state.keyCount, 24);
  gui.frmMain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&gui.frmMain));
  // Some 370 feature reports with their pauses: the waiting is left out, the timer not.
  gui.clock.quick = true;
  gui.frmMain.StartStartupTimer();
  const auto started = std::chrono::steady_clock::now();
  // Nothing happens before the timer's second is up.
  QTest::qWait(500);
  EXPECT_TRUE(gui.simulation->device(0).featureReports().empty());
  EXPECT_TRUE(gui.frmMain.isVisible());

  ASSERT_TRUE(WaitForClose(gui, std::chrono::seconds(10)));
  // The timer is a coarse one, which may fire up to 5 % early.
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(950));
  EXPECT_TRUE(gui.app.state.taskDone);
  EXPECT_EQ(gui.app.state.deviceKind, 5);
  const std::string success = "\r\nSUCCESS! Download Complete.\r\n";
  EXPECT_EQ(Ending(gui.frmMain.progressText(), success.size()), success);
  EXPECT_FALSE(gui.simulation->device(0).featureReports().empty());
}

TEST(StartupAutomation, TwoDifferentKeypadsGetNothingAndTheProgramStaysOpen) {
  const std::string keys = std::string(TDXX_EXAMPLES_DIR) + "/td-a-function-keys.ckd";
  GuiHarness gui(std::nullopt, {"td-a", "td-b"}, {keys});
  gui.frmMain.show();
  gui.clock.quick = true;
  gui.frmMain.StartStartupTimer();
  EXPECT_FALSE(WaitForClose(gui, std::chrono::milliseconds(1600)));
  EXPECT_EQ(gui.app.state.deviceKind, -1);
  EXPECT_FALSE(gui.app.state.taskDone);
  for (int device : {0, 1})
    EXPECT_TRUE(gui.simulation->device(device).featureReports().empty()) << device;
}

}  // namespace
}  // namespace tdxx::test
