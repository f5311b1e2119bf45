#include "tests/ui/WindowFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "tests/ui/QtApp.h"

namespace tandrel::test {

WindowFixture::WindowFixture() {
  EnsureApplication();
  setenv("COMPUTERNAME", "TESTPC", 1);
  std::filesystem::create_directories(db.Folder() + "/Languages");
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

WindowFixture::~WindowFixture() = default;

void WindowFixture::WriteLanguage(const std::string& code,
                                  const std::vector<std::pair<std::string, std::string>>& words) {
  std::ofstream out(db.Folder() + "/Languages/" + code + ".txt", std::ios::binary);
  out << "; test words, UTF-8\r\n:" << code << "=" << code << "\r\n";
  for (const auto& [key, text] : words) out << key << "=" << text << "\r\n";
}

void WindowFixture::WriteSettings(const std::string& text) {
  std::ofstream(SettingsPath(), std::ios::binary) << text;
}

std::string WindowFixture::SettingsPath() const { return db.Folder() + "/Tandrel.ini"; }

TestWindow& WindowFixture::Build() {
  window.reset();
  session = std::make_unique<Session>(db.Folder(), "Tandrel", mounts, fs);
  window = std::make_unique<TestWindow>(*session);
  return *window;
}

TestWindow& WindowFixture::Start() {
  Build();
  window->Arranca();
  Pump();
  return *window;
}

QAction* WindowFixture::Command(const char* name) const { return Control<QAction>(name); }

void Pump() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

}  // namespace tandrel::test
