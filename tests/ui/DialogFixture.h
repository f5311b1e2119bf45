#pragma once
// The dialogs over a real temporary program folder: data/db.mdb made from the schema, the
// program's own language files, this computer named "PC1", the program folder standing as the
// mounted USB drive, and a recording view. Widgets are driven with real key and mouse events.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "engine/PosixFileSystem.h"
#include "engine/Session.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDatabase.h"

#include <QPoint>
#include <QString>
#include <QWidget>

namespace tandrel::test {

class DialogFixture : public ::testing::Test {
 protected:
  DialogFixture();

  // The drive the program runs from (the program folder itself is its mount point).
  const std::string& Drive() const { return db.Folder(); }
  // Reloads the words of another language, as the options dialog's caller does.
  void UseLanguage(const std::string& code);
  // One column of one TASKS row, as text ("NULL" for a null value).
  std::string TaskColumn(std::int64_t id, const std::string& column);

  TempDatabase db;
  PosixFileSystem fs;
  RecordingView view;
  std::unique_ptr<Session> session;
};

// A control of a dialog by its name; the test fails when there is none.
template <typename T>
T* Find(const QWidget& dialog, const char* name) {
  T* found = dialog.findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

// Key presses as a keyboard sends them: each character of text, or one key.
void TypeText(QWidget* widget, const QString& text);
void PressKey(QWidget* widget, int key);
// Selects the whole text of a box, deletes it and types text.
void Retype(QWidget* box, const QString& text);
// A left click at a point of the widget.
void ClickAt(QWidget* widget, QPoint point);
// Lets queued events run.
void PumpEvents();

}  // namespace tandrel::test
