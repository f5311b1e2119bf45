#pragma once
// The program with its window: the application, the session over the real file system, the main
// window, its start-up, and the event loop until the window closes.

namespace tandrel {

// The process's exit code.
int RunWindow(int argc, char** argv);

}  // namespace tandrel
