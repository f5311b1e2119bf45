#pragma once
// What a run does with one entry, by its state code: copy towards the PC or the stick, overwrite
// one side from the other, delete on one side, or nothing. Every overwrite and deletion is checked
// first against what the analysis saw.
#include <string>
#include <vector>

#include "engine/AppView.h"
#include "engine/RunFolders.h"
#include "engine/ScanContext.h"
#include "engine/Session.h"
#include "store/clsArchivo.h"

namespace tandrel {

// What one run carries from entry to entry.
struct RunContext {
  RunContext(Session& s, AppView& v, int posicion);

  Session& session;
  AppView& view;
  int tarea;             // 1-based position in session.Tareas
  TaskFolders folders;   // both task folders as real paths ending in "/"
  bool ignoreReadOnly;   // "R" in the task's OPTIONS
  RunFolders destinations;
};

// Carries out the entry's Action ("ZZ" and conflicts do nothing). True on success; a failure has
// been named in the log. changed receives the path of every file it wrote, re-timed or deleted,
// or may have. A copy that had to give its source the time the destination could keep updates
// the source side's last-write text (see CopiaUnaVez).
[[nodiscard]] bool PerformAction(RunContext& run, clsArchivo& archivo,
                                 std::vector<std::string>& changed);

// The real path of a file below its side's root, parts joined by "/": ruta after root, or, for a
// path not under root, its last as many parts as the relative name nombre has.
std::string RelativeRealPath(const std::string& ruta, const std::string& root,
                             std::string_view nombre);

}  // namespace tandrel
