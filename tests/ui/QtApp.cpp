#include "tests/ui/QtApp.h"

#include <cstdlib>

#include <QApplication>

namespace tandrel::test {

QApplication& EnsureApplication() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  // Left alive to the end of the process: destroying it among the statics would outlive Qt's own.
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* a = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return a;
  }();
  return *app;
}

std::string PictureFolder() {
  const char* folder = std::getenv("TANDREL_PICTURES");
  return folder != nullptr ? folder : "";
}

}  // namespace tandrel::test
