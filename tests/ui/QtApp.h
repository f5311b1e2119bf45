#pragma once
// The one QApplication of the ui tests, made on first use (test discovery never needs one), on the
// offscreen platform unless the caller chose another.
#include <string>

class QApplication;

namespace tandrel::test {

QApplication& EnsureApplication();

// Where the pictures of the window and the dialogs go when scripts/screenshots asks for them (its
// TANDREL_PICTURES folder); "" in an ordinary test run, which writes no picture.
std::string PictureFolder();

}  // namespace tandrel::test
