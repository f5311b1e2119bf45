#include "ui/RunWindow.h"

#include <QApplication>

#include "core/Platform.h"
#include "engine/PosixFileSystem.h"
#include "engine/Session.h"
#include "ui/SignalCloser.h"
#include "ui/frmMain.h"

namespace tandrel {

int RunWindow(int argc, char** argv) {
  QApplication app(argc, argv);
  PosixFileSystem fs;
  Session session(ProgramFolder(), ExecutableBaseName(), ReadMountTable(), fs);
  frmMain window(session);
  SignalCloser closer(window);
  window.Arranca();
  // A close asked for during start-up has been put off until now; it runs inside the loop.
  return app.exec();
}

}  // namespace tandrel
