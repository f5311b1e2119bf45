#include "tests/ui/UiFixture.h"

#include <cstdlib>
#include <filesystem>

namespace tandrel::test {

namespace fsys = std::filesystem;

UiFixture::UiFixture() {
  static int argc = 1;
  static char name[] = "ui_tests";
  static char* argv[] = {name, nullptr};
  // Left alive to the end of the process: destroying it among the statics would outlive Qt's own.
  [[maybe_unused]] static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* a = new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return a;
  }();
  fsys::create_directories(db.Folder() + "/Languages");
  for (const char* file : {"EN.txt", "ES.txt"}) {
    fsys::copy_file(std::string(TANDREL_SOURCE_DIR) + "/Languages/" + file,
                    db.Folder() + "/Languages/" + file);
  }
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
  }
}

void Retype(QWidget* box, const QString& text) {
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Delete);
  TypeText(box, text);
}

void Pump() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

}  // namespace tandrel::test
