#pragma once
// The fixture of the window's tests: a real temporary program folder (data/db.mdb made from the
// schema, the program's own language files) on the one QApplication of the ui tests, offscreen.
// Widgets are driven with real key and mouse events.
#include <string>

#include <gtest/gtest.h>

#include "engine/PosixFileSystem.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TempDatabase.h"

// Every widget class and Qt Test, for the tests that include this fixture.
#include <QTest>
#include <QtWidgets>

namespace tandrel::test {

class UiFixture : public ::testing::Test {
 protected:
  UiFixture();

  // The drive the program runs from (the program folder itself is its mount point).
  const std::string& Drive() const { return db.Folder(); }

  TempDatabase db;
  PosixFileSystem fs;
  RecordingView view;
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
