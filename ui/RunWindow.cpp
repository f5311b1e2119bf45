#include "ui/RunWindow.h"

#include <filesystem>
#include <string>
#include <system_error>

#include <QApplication>

#include "core/Platform.h"
#include "engine/PosixFileSystem.h"
#include "engine/Session.h"
#include "ui/SignalCloser.h"
#include "ui/frmMain.h"

namespace tandrel {

int RunWindow(int argc, char** argv) {
  const std::string carpetaPrograma = ProgramFolder();
  // A portable folder carries the plug-ins of the Qt it carries, and uses only those: Qt would also
  // look in the desktop's own plug-in folder, whose plug-ins are built for another Qt and pull in
  // the desktop's libraries (its GTK theme, say). Set before the application, which loads the
  // platform plug-in as it is made.
  const std::string plugins = carpetaPrograma + "/plugins";
  std::error_code ec;
  if (std::filesystem::is_directory(plugins, ec)) {
    QCoreApplication::setLibraryPaths({QString::fromStdString(plugins)});
  }
  QApplication app(argc, argv);
  PosixFileSystem fs;
  Session session(carpetaPrograma, ExecutableBaseName(), ReadMountTable(), fs);
  frmMain window(session);
  SignalCloser closer(window);
  window.Arranca();
  // A close asked for during start-up has been put off until now; it runs inside the loop.
  return app.exec();
}

}  // namespace tandrel
