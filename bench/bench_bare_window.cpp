// The yardstick of bench_startup: a bare Qt Widgets window of the main window's size, shown at
// once, with nothing in it.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setFixedSize(508, 438);
  window.show();
  return QApplication::exec();
}
