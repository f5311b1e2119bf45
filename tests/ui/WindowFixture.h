#pragma once
// A main window over a real temporary program folder: data/db.mdb made from the schema, language
// files written by the test, the settings file wherever the test puts it, this computer named
// "TESTPC". Message boxes are recorded and questions answered by the test; every modal dialog the
// window opens is cancelled as soon as it shows, and its class name recorded.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Platform.h"
#include "engine/PosixFileSystem.h"
#include "engine/Session.h"
#include "tests/support/TempDatabase.h"
#include "ui/frmMain.h"

class QAction;
class QTimer;

namespace tandrel::test {

class TestWindow : public frmMain {
 public:
  using frmMain::frmMain;

  struct Message {
    MessageIcon icon;
    std::string title;
    std::string text;
  };

  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
    messages.push_back({icon, title, text});
  }
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back(text);
    return answer;
  }

  std::vector<Message> messages;
  std::vector<std::string> questions;
  bool answer = false;
};

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture();
  ~WindowFixture() override;

  // Writes Languages/<code>.txt: the header line, then one "key=text" line per pair.
  void WriteLanguage(const std::string& code,
                     const std::vector<std::pair<std::string, std::string>>& words);
  void WriteSettings(const std::string& text);
  std::string SettingsPath() const;

  // The window over the folder as it is now; Start also runs the start-up.
  TestWindow& Build();
  TestWindow& Start();

  // Controls and commands, found by the names the window gives them.
  template <typename T>
  T* Control(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QAction* Command(const char* name) const;

  TempDatabase db;
  MountTable mounts = ReadMountTable();  // what the next Build gives the session
  std::vector<std::string> dialogs;  // class names of the dialogs cancelled, in order
  std::unique_ptr<QTimer> dismisser;
  PosixFileSystem fs;
  std::unique_ptr<Session> session;
  std::unique_ptr<TestWindow> window;
};

// Lets queued events run (rows waiting to be shown, a deferred close).
void Pump();

}  // namespace tandrel::test
