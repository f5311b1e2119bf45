#pragma once
// Start-up and shutdown against the database, shared by the window and the command line: connect,
// check the clock, learn the computer's name, list its tasks, run the auto-start tasks; at the end
// close, compact when configured. The steps before (title, words, geometry, showing the window) and
// the geometry at exit belong to the window; the command line has its own equivalents.
#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

struct StartOptions {
  bool firstRunWizard = true;  // the command line never opens the wizard
  bool runAutoStart = true;    // the command line runs auto-start tasks only for --auto
};

enum class StartResult { Ready, ConnectionError, ClockError };

// The two opening log lines: "logStarting" with title and version, "logTime" with the time.
void LogStartLines(Session& session, AppView& view);

// Connects (or reports "errConnecting" and stops), opens rsFiles, reads the computer name, checks
// the clock against General/LastEXE (or reports "errTime" and stops), opens the wizard on a first
// run, stamps LastEXE, counts and lists this computer's tasks, runs the auto-start tasks.
StartResult StartUpAgainstDatabase(Session& session, AppView& view, const StartOptions& options);

// Fills the task list from this computer's tasks (rows pending, key "K" & position).
void CargaTareas(Session& session, AppView& view);

// NuevaTarea: logs "logAddTask" and opens the new-task wizard.
void NuevaTarea(Session& session, AppView& view);

// Closes rsFiles and the connection, then compacts the database when so configured (atomic
// replace), then releases the settings (written and tidied). The window stores its geometry in
// session.INI before calling this; the command line restores what it found.
void ShutDown(Session& session, AppView& view);

}  // namespace tandrel
