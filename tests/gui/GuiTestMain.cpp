// Entry of the GUI tests: the toolkit's application object first, then the tests.

#include <gtest/gtest.h>

#include <QByteArray>

#include "gui/QtApplication.h"

// The toolkit keeps caches until the process ends; the leak checker would report them.
extern "C" const char* __asan_default_options() {
  return "detect_leaks=0";
}

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, where no display may exist.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  ::testing::InitGoogleTest(&argc, argv);
  tdxx::QtApplication application(argc, argv);
  application.setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
