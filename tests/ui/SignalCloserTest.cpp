// SIGTERM ends the program as the window's close box does.
#include <gtest/gtest.h>

#include <csignal>

#include "core/clsArchivoINI.h"
#include "tests/ui/UiFixture.h"
#include "ui/SignalCloser.h"

namespace tandrel {
namespace {

class SignalCloserTest : public test::UiFixture {};

TEST_F(SignalCloserTest, TermSignalClosesTheWindowThroughTheWholeShutdown) {
  WriteSettings("[DB]\r\nCompactDataBase=0\r\n[Panel]\r\nbutOKS=0\r\n");
  auto& w = Start();
  SignalCloser closer(w);
  ASSERT_TRUE(closer.Installed());
  session->INI.showOKS = true;
  std::raise(SIGTERM);
  test::Pump();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(session->conexion.IsOpen());
  EXPECT_TRUE(clsArchivoINI(db.Folder(), "Tandrel").showOKS);
}

}  // namespace
}  // namespace tandrel
