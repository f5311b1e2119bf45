// Tandrel: the window when started without arguments, the command line with them.
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "core/Platform.h"
#include "engine/PosixFileSystem.h"

#ifdef TANDREL_WITH_UI
#include "ui/RunWindow.h"
#endif

int main(int argc, char** argv) {
  using namespace tandrel;
  if (argc > 1) {
    std::vector<std::string> args(argv + 1, argv + argc);
    PosixFileSystem fs;
    CommandLineContext context{ProgramFolder(), ExecutableBaseName(), ReadMountTable(), fs,
                               std::cout, std::cerr};
    return RunCommandLine(args, context);
  }
#ifdef TANDREL_WITH_UI
  return RunWindow(argc, argv);
#else
  std::cerr << "This build of Tandrel has no window; see: Tandrel --help\n";
  return 2;
#endif
}
