#pragma once
// The one QApplication of the ui tests, made on first use (test discovery never needs one), on the
// offscreen platform unless the caller chose another.
class QApplication;

namespace tandrel::test {

QApplication& EnsureApplication();

}  // namespace tandrel::test
