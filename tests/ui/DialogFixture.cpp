#include "tests/ui/DialogFixture.h"

#include <cstdlib>
#include <filesystem>

#include "core/Platform.h"
#include "store/Conexion.h"
#include "tests/ui/QtApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace tandrel::test {

namespace fsys = std::filesystem;

DialogFixture::DialogFixture() {
  EnsureApplication();
  fsys::create_directories(db.Folder() + "/Languages");
  for (const char* file : {"EN.txt", "ES.txt"}) {
    fsys::copy_file(std::string(TANDREL_SOURCE_DIR) + "/Languages/" + file,
                    db.Folder() + "/Languages/" + file, fsys::copy_options::overwrite_existing);
  }
  session = std::make_unique<Session>(db.Folder(), "Tandrel", MountTable{{"/", db.Folder()}}, fs);
  const std::string error = ConectaBD(session->conexion, session->INI, db.Folder());
  EXPECT_EQ(error, "");
  session->Hostname = "PC1";
}

void DialogFixture::UseLanguage(const std::string& code) {
  session->INI.Language = code;
  session->RecargaWords();
}

std::string DialogFixture::TaskColumn(std::int64_t id, const std::string& column) {
  return db.Value("SELECT \"" + column + "\" FROM TASKS WHERE ID = " + std::to_string(id));
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
  }
}

void PressKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

void Retype(QWidget* box, const QString& text) {
  QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
  QApplication::sendEvent(box, &selectAll);
  PressKey(box, Qt::Key_Delete);
  TypeText(box, text);
}

void ClickAt(QWidget* widget, QPoint point) {
  const QPointF local(point);
  const QPointF global(widget->mapToGlobal(point));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QApplication::sendEvent(widget, &release);
}

void PumpEvents() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

}  // namespace tandrel::test
