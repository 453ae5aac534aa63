// The toolkit services under the windows: the clock, the command gate, the error box for
// errors that escape a handler, and the program's command line.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "GuiHarness.h"
#include "gui/QtClock.h"
#include "gui/QtCommandGate.h"
#include "gui/QtCommandLine.h"
#include "gui/QtEventsWithoutInput.h"

namespace tdxx::test {
namespace {

class PaintCounter final : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(QtClock, PauseKeepsTheWindowsPaintingAndNeverReturnsEarly) {
  QtClock clock;
  PaintCounter widget;
  widget.resize(50, 50);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  widget.paints = 0;
  int timerRuns = 0;
  QTimer::singleShot(20, &widget, [&] {
    ++timerRuns;
    widget.update();
  });
  for (const int ms : {0, 1, 37, 150}) {
    const auto start = std::chrono::steady_clock::now();
    clock.Pause(Milliseconds(ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, Milliseconds(ms)) << ms;
  }
  // Fractions of a millisecond are kept, not dropped by the event loop's whole-ms timers.
  for (const int us : {300, 9700, 10900}) {
    const auto start = std::chrono::steady_clock::now();
    clock.Pause(std::chrono::microseconds(us));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(us)) << us;
  }
  EXPECT_EQ(timerRuns, 1);
  EXPECT_GT(widget.paints, 0);
}

TEST(EventsWithoutInput, PausesAndPendingMessagesHoldClicksBackUntilTheLoopTakesInputAgain) {
  QPushButton button(QStringLiteral("Go"));
  button.resize(80, 30);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });

  // A click made while a handler pauses must not run the handler again inside the pause.
  QtClock clock;
  QTimer::singleShot(10, &button, [&] { QueueClick(&button); });
  clock.Pause(Milliseconds(80));
  EXPECT_EQ(clicks, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 1);

  // Letting pending messages run runs the timers that are due, not the clicks.
  int timerRuns = 0;
  QTimer::singleShot(0, &button, [&] { ++timerRuns; });
  QueueClick(&button);
  RunEventsWithoutInput(std::chrono::steady_clock::now());
  EXPECT_EQ(timerRuns, 1);
  EXPECT_EQ(clicks, 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(clicks, 2);
}

TEST(QtCommandGate, OneCommandAtATimeAndTimersRunAfterIt) {
  QtCommandGate gate([](std::string_view text) { ADD_FAILURE() << text; });
  std::vector<std::string> trace;
  gate.RunOrDefer([&] { trace.push_back("timer while idle"); });
  const bool ran = gate.Run([&] {
    trace.push_back("command");
    EXPECT_TRUE(gate.busy());
    EXPECT_FALSE(gate.Run([&] { trace.push_back("nested click"); }));
    gate.RunOrDefer([&] {
      trace.push_back("first timer");
      gate.RunOrDefer([&] { trace.push_back("timer from a timer"); });
    });
    gate.RunOrDefer([&] { trace.push_back("second timer"); });
    trace.push_back("command ends");
  });
  EXPECT_TRUE(ran);
  EXPECT_FALSE(gate.busy());
  EXPECT_EQ(trace, (std::vector<std::string>{"timer while idle", "command", "command ends",
                                             "first timer", "second timer", "timer from a timer"}));
}

TEST(QtCommandGate, AFailingCommandIsReportedAndTheGateGoesOn) {
  std::vector<std::string> errors;
  std::vector<std::string> trace;
  QtCommandGate gate([&](std::string_view text) { errors.emplace_back(text); });

  EXPECT_TRUE(gate.Run([&] {
    gate.RunOrDefer([&] { trace.push_back("timer due during the failing command"); });
    gate.RunOrDefer([] { throw 42; });
    gate.RunOrDefer([&] { trace.push_back("timer after a failing timer"); });
    throw std::runtime_error("Unable to write to /nowhere/TDxxLoad.ini");
  }));
  EXPECT_EQ(errors, (std::vector<std::string>{"Unable to write to /nowhere/TDxxLoad.ini",
                                              "Unknown error."}));
  EXPECT_EQ(trace, (std::vector<std::string>{"timer due during the failing command",
                                             "timer after a failing timer"}));
  EXPECT_FALSE(gate.busy());

  bool ran = false;
  EXPECT_TRUE(gate.Run([&] { ran = true; }));
  EXPECT_TRUE(ran);
  EXPECT_EQ(errors.size(), 2u);
}

TEST(QtCommandGate, WhenReportingFailsNothingIsLeftBusyOrQueuedForTheNextCommand) {
  QtCommandGate gate([](std::string_view) { throw std::runtime_error("no box"); });
  bool staleRan = false;
  EXPECT_THROW(gate.Run([&] {
    gate.RunOrDefer([&] { staleRan = true; });
    throw std::runtime_error("boom");
  }),
               std::runtime_error);
  EXPECT_FALSE(gate.busy());
  EXPECT_TRUE(gate.Run([] {}));
  EXPECT_FALSE(staleRan);
}

class ThrowingObject final : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User)
      throw std::runtime_error("Unable to write to /nowhere/TDxxLoad.ini");
    return QObject::event(e);
  }
};

TEST(QtApplication, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
  ThrowingObject object;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      poll.stop();
      title = box->windowTitle();
      text = box->text();
      icon = box->icon();
      box->accept();
    }
  });
  poll.start();
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));
  EXPECT_EQ(title.toStdString(), "TDxxLoad");
  EXPECT_EQ(text.toStdString(), "Unable to write to /nowhere/TDxxLoad.ini");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

TEST(ProgramOptions, SimulatedKindsAndArguments) {
  const struct {
    std::vector<const char*> argv;
    std::vector<std::string> kinds;
    std::vector<std::string> arguments;
    bool error;
  } cases[] = {
      {{"tdxxload"}, {}, {}, false},
      {{"tdxxload", "/home/u/keys.ckd"}, {}, {"/home/u/keys.ckd"}, false},
      {{"tdxxload", "--simulate=td-a,tdxx-bootloader", "k.ckd"},
       {"td-a", "tdxx-bootloader"},
       {"k.ckd"},
       false},
      {{"tdxxload", "--simulate", "td-b", "--simulate=wk-c"}, {"td-b", "wk-c"}, {}, false},
      {{"tdxxload", "a", "b"}, {}, {"a", "b"}, false},
      {{"tdxxload", "--", "--simulate=td-a"}, {}, {"--simulate=td-a"}, false},
      {{"tdxxload", "--simulate="}, {}, {}, true},
      {{"tdxxload", "--simulate"}, {}, {}, true},
  };
  for (const auto& c : cases) {
    const ProgramOptions options =
        ParseProgramOptions(static_cast<int>(c.argv.size()), c.argv.data());
    SCOPED_TRACE(c.argv.size() > 1 ? c.argv[1] : "no arguments");
    EXPECT_EQ(!options.error.empty(), c.error);
    if (c.error)
      continue;
    EXPECT_EQ(options.simulatedKinds, c.kinds);
    EXPECT_EQ(options.arguments, c.arguments);
  }
}

TEST(ProgramOptions, RecordHidTakesAFileAndLeavesTheRestAlone) {
  const char* spaced[] = {"tdxxload", "--record-hid", "/tmp/calls.jsonl", "k.ckd"};
  ProgramOptions options = ParseProgramOptions(4, spaced);
  EXPECT_EQ(options.error, "");
  EXPECT_EQ(options.recordHidPath, "/tmp/calls.jsonl");
  EXPECT_EQ(options.arguments, std::vector<std::string>{"k.ckd"});

  const char* joined[] = {"tdxxload", "--simulate=td-a", "--record-hid=calls.jsonl"};
  options = ParseProgramOptions(3, joined);
  EXPECT_EQ(options.recordHidPath, "calls.jsonl");
  EXPECT_EQ(options.simulatedKinds, std::vector<std::string>{"td-a"});

  const char* missing[] = {"tdxxload", "--record-hid"};
  EXPECT_EQ(ParseProgramOptions(2, missing).error, "--record-hid needs a file name");
}

}  // namespace
}  // namespace tdxx::test
