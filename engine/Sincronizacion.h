#pragma once
// The run: carries out the plan of the last analysis of a task, file by file, and rewrites its
// snapshot as it goes.
#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

// tarea: 1-based position in session.Tareas; only after an analysis of that task.
void Sincroniza(Session& session, AppView& view, int tarea);

}  // namespace tandrel
