// The window's test program: every test class in turn, on one QApplication.
#include <QApplication>

#include "window_fixture.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The tests close windows without running the application's event loop.
  QApplication::setQuitOnLastWindowClosed(false);
  int failures = 0;
  failures += marksend::test::RunControlsTest(argc, argv);
  failures += marksend::test::RunStartUpTest(argc, argv);
  failures += marksend::test::RunExportFlowTest(argc, argv);
  return failures == 0 ? 0 : 1;
}
