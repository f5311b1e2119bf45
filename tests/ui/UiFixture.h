#pragma once
// The one fixture of the window's tests: a real temporary program folder (data/db.mdb made from
// the schema, a Languages folder) and either a session for a dialog (OpenSession: the program's
// own language files, this computer named "PC1", the folder standing as the mounted USB drive,
// a recording view) or the main window over the folder (Build, Start: this computer named
// "TESTPC", language and settings files written by the test). Message boxes of the window are
// recorded and its questions answered by the test; every modal dialog it opens is cancelled as
// soon as it shows, and its class name recorded. Widgets are driven with real key and mouse events.
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Platform.h"
#include "engine/PosixFileSystem.h"
#include "engine/Session.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDatabase.h"
#include "ui/frmMain.h"

// Every widget class and Qt Test, for the tests that include this fixture.
#include <QTest>
#include <QtWidgets>

namespace tandrel::test {

// The one QApplication of the ui tests, made on first use (test discovery never needs one), on the
// offscreen platform unless the caller chose another.
QApplication& EnsureApplication();

// Where the pictures of the window and the dialogs go when scripts/screenshots asks for them (its
// TANDREL_PICTURES folder); "" in an ordinary test run, which writes no picture.
std::string PictureFolder();

class TestWindow : public frmMain {
 public:
  using frmMain::frmMain;

  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
    messages.push_back({icon, title, text});
  }
  bool AskYesNo(const std::string& title, const std::string& text) override {
    questions.push_back(text);
    return answer;
  }

  std::vector<RecordingView::Message> messages;
  std::vector<std::string> questions;
  bool answer = false;
};

class UiFixture : public ::testing::Test {
 protected:
  UiFixture();
  ~UiFixture() override;

  // A dialog's session: connected as start-up connects, with the program's own language files.
  void OpenSession();
  // Copies the program's own language files into the program folder.
  void UseProgramLanguages();
  // The drive the program runs from (the program folder itself is its mount point).
  const std::string& Drive() const { return db.Folder(); }
  // A file on both sides of task, changed on both since its last run ("!1"), with its snapshot
  // row; the session's entries and snapshot hold it. Its name is "Letters\\Bank 2024.odt".
  void AddConflictEntry(std::int64_t task);
  // The columns a dialog writes of a TASKS row (the last one created when id is 0), joined with
  // "|": LEFT, RIGHT, LEFTOPT, RIGHTOPT, DESCR, OPTIONS.
  std::string TaskRow(std::int64_t id = 0);

  // Writes Languages/<code>.txt: the header line, then one "key=text" line per pair.
  void WriteLanguage(const std::string& code,
                     const std::vector<std::pair<std::string, std::string>>& words);
  void WriteSettings(const std::string& text);
  // The window over the folder as it is now; Start also runs the start-up.
  TestWindow& Build();
  TestWindow& Start();
  // Controls and commands of the window, found by the names it gives them.
  template <typename T>
  T* Control(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QAction* Command(const char* name) const;
  // Makes the window the active one, as the window system does for a user's keys; false when it
  // does not become active.
  [[nodiscard]] bool Activate();

  TempDatabase db;
  PosixFileSystem fs;
  RecordingView view;
  MountTable mounts = ReadMountTable();  // what the next Build gives the session
  std::vector<std::string> dialogs;  // class names of the dialogs cancelled, in order
  std::unique_ptr<QTimer> dismisser;
  std::unique_ptr<Session> session;
  std::unique_ptr<TestWindow> window;
};

// A control of a dialog by its name; the test fails when there is none.
template <typename T>
T* Find(const QWidget& dialog, const char* name) {
  T* found = dialog.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Key presses as a keyboard sends them, each character of text (any letter, unlike QTest's).
void TypeText(QWidget* widget, const QString& text);
// Selects the whole text of a box, deletes it and types text.
void Retype(QWidget* box, const QString& text);
// Lets queued events run (rows waiting to be shown, a deferred close).
void Pump();

}  // namespace tandrel::test
