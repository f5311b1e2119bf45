#pragma once
// The snapshot row of one entry of a run, and the end of a run: the task's state in the task list
// and its LASTEXE stamp.
#include "engine/AppView.h"
#include "engine/Session.h"
#include "engine/SnapshotRenewal.h"
#include "store/clsArchivo.h"

namespace tandrel {

// Replaces the entry's snapshot row in the open batch of renewal. The old row always goes; a new
// row is written unless the entry is a conflict, failed in this run (Estado "R"), or was deleted by
// it ("X1", "X2": a row would make a file made later under that name look deleted on the other
// side). The new row takes the USB side's texts for "A2" and "C1" (the run carried the USB file to
// the PC with its times) and the PC side's for every other code, as the scan found them (a source
// that took the coarser time of its copy gives that time, see CopiaUnaVez); SYNC is the 14-digit
// local stamp of the moment. tarea: 1-based position in session.Tareas.
void GrabaRegistro(Session& session, SnapshotRenewal& renewal, int tarea, const clsArchivo& archivo);

// Ends a run: the task's row shows "OK" and W("tskDone") when the conflict count and Fallos are
// both at most 0, else "ALERT" and W("tskALERT"), with the stamp of now in display form; LASTEXE of
// the task is set to that 14-digit local stamp (a failure there is not reported).
void FinalizaTarea(Session& session, AppView& view, int tarea);

}  // namespace tandrel
