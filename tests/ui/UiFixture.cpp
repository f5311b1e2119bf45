#include "tests/ui/UiFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "store/Conexion.h"
#include "store/clsArchivo.h"

namespace tandrel::test {

namespace fsys = std::filesystem;

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

UiFixture::UiFixture() {
  EnsureApplication();
  setenv("COMPUTERNAME", "TESTPC", 1);
  fsys::create_directories(db.Folder() + "/Languages");
}

UiFixture::~UiFixture() = default;

void UiFixture::UseProgramLanguages() {
  for (const char* file : {"EN.txt", "ES.txt"}) {
    fsys::copy_file(std::string(TANDREL_SOURCE_DIR) + "/Languages/" + file,
                    db.Folder() + "/Languages/" + file, fsys::copy_options::overwrite_existing);
  }
}

void UiFixture::OpenSession() {
  UseProgramLanguages();
  session = std::make_unique<Session>(db.Folder(), "Tandrel", MountTable{{"/", db.Folder()}}, fs);
  EXPECT_EQ(ConectaBD(session->conexion, session->INI, db.Folder()), "");
  session->Hostname = "PC1";
}

void UiFixture::AddConflictEntry(std::int64_t task) {
  const clsArchivo entrada{
      .Nombre = "Letters\\Bank 2024.odt", .USB_Ruta = Drive() + "/Documents/Letters/Bank 2024.odt",
      .USB_Tamano = "1834512", .USB_Creacion = "20240105091500", .USB_Acceso = "20240312080102",
      .USB_Modificado = "20240311174233", .PC_Ruta = "/home/ana/Documents/Letters/Bank 2024.odt",
      .PC_Tamano = "1830007", .PC_Creacion = "20240105091500", .PC_Acceso = "20240311090000",
      .PC_Modificado = "20240310120004", .Action = "!1"};
  session->Archivos.Add(entrada);
  db.AddFile({.hostname = "PC1", .task = task, .file = entrada.Nombre, .creation = "20240105091500",
              .size = "1830007", .last = "20240301100000", .access = "20240301100000",
              .sync = "20240301100502"});
  EXPECT_EQ(session->Ficheros.Carga(session->conexion, "PC1", std::to_string(task)), "");
}

std::string UiFixture::TaskRow(std::int64_t id) {
  return db.Value(R"(SELECT "LEFT" || '|' || "RIGHT" || '|' || LEFTOPT || '|' || RIGHTOPT || '|' ||
                     DESCR || '|' || OPTIONS FROM TASKS WHERE )" + std::to_string(id) +
                  " IN (0, ID) ORDER BY ID DESC");
}

void UiFixture::WriteLanguage(const std::string& code,
                              const std::vector<std::pair<std::string, std::string>>& words) {
  std::ofstream out(db.Folder() + "/Languages/" + code + ".txt", std::ios::binary);
  out << "; test words, UTF-8\r\n:" << code << "=" << code << "\r\n";
  for (const auto& [key, text] : words) out << key << "=" << text << "\r\n";
}

void UiFixture::WriteSettings(const std::string& text) {
  std::ofstream(db.Folder() + "/Tandrel.ini", std::ios::binary) << text;
}

TestWindow& UiFixture::Build() {
  if (!dismisser) {
    dismisser = std::make_unique<QTimer>();
    dismisser->setInterval(5);
    QObject::connect(dismisser.get(), &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialogs.emplace_back(dialog->metaObject()->className());
        dialog->reject();
      }
    });
    dismisser->start();
  }
  window.reset();
  session = std::make_unique<Session>(db.Folder(), "Tandrel", mounts, fs);
  window = std::make_unique<TestWindow>(*session);
  return *window;
}

TestWindow& UiFixture::Start() {
  Build();
  window->Arranca();
  Pump();
  return *window;
}

QAction* UiFixture::Command(const char* name) const { return Control<QAction>(name); }

bool UiFixture::Activate() {
  window->activateWindow();
  return QTest::qWaitForWindowActive(window.get());
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
