#include "engine/Sincronizacion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/Public.h"
#include "engine/Analisis.h"
#include "engine/EntryActions.h"
#include "engine/GrabaRegistro.h"
#include "engine/RunSettings.h"
#include "engine/SnapshotRenewal.h"

namespace tandrel {

namespace {

constexpr int kSuccessesPerYield = 100;

// The run stopped after entry `last` because the database refused its record: the entries after
// it are named, left as they are (their old rows stay, so the next analysis plans them again), and
// the task ends in alert.
void StopOnDatabaseRefusal(Session& session, AppView& view, const std::string& prefix,
                           std::int64_t last) {
  session.databaseError = true;
  const auto total = static_cast<std::int64_t>(session.Archivos.Count());
  const std::string text = session.W("errDBStopped") + " " + std::to_string(total - last);
  EscribeLog(view, prefix + "** ERROR ** : " + text);
  for (std::int64_t i = last + 1; i <= total; ++i) {
    EscribeLog(view, prefix + "  " + session.Archivos.ITemID(static_cast<std::size_t>(i)).Nombre);
  }
  session.Fallos += 1 + static_cast<double>(total - last);
  const std::string cause = "\"" + session.conexion.Path() + "\": " + session.rsFiles.LastError();
  view.ShowMessage(MessageIcon::Critical, kTitulo, text + "\r\n" + cause);
}

}  // namespace

void Sincroniza(Session& session, AppView& view, int tarea) {
  Sincroniza(session, view, tarea, RunSettings{});
}

void Sincroniza(Session& session, AppView& view, int tarea, const RunSettings& settings) {
  if (tarea < 1 || tarea > session.Tareas.Count()) return;
  // Only the analysis on display may be carried out: its entries, its snapshot and its task belong
  // together, and after a side could not be read there is nothing safe to do.
  if (session.driveError || session.TareaAnalizada != tarea) {
    ActivaSincronizar(view, false);
    return;
  }
  const clsTarea& task = session.Tareas.ITem1(tarea);
  const std::string prefijo = "#" + std::to_string(task.ID) + ": ";
  // A run that cannot record what it does must not start: every file it copied would be planned
  // again, or taken for a conflict, at the next analysis. The analysis stays on display.
  session.databaseError = false;
  if (const std::string error = CheckWritable(session.conexion); !error.empty()) {
    session.databaseError = true;
    EscribeLog(view, prefijo + "** ERROR ** : " + error);
    view.ShowMessage(MessageIcon::Critical, kTitulo, session.W("errDBWrite") + "\r\n" + error);
    return;
  }
  const auto total = static_cast<std::int64_t>(session.Archivos.Count());
  // A run without entries still ends with a full bar: a maximum of 0 would read as "busy".
  const std::int64_t maximo = std::max<std::int64_t>(total, 1);

  view.SetWorking(true);
  view.SetProgressValue(0);
  view.SetProgressMax(maximo);
  view.SetBusy(true);
  ActivaSincronizar(view, false);
  session.TareaAnalizada = -1;
  session.Fallos = 0;

  RunContext run(session, view, tarea);
  EscribeLog(view, prefijo + session.W("panSync"));
  MuestraEstado(view, *session.Words, "panSync");
  view.Yield();
  view.SetProgressValue(0);
  view.SetProgressMax(maximo);

  SnapshotRenewal renewal(session, view, {run.folders.usb, run.folders.pc});
  const std::string sincronizando = session.W("panSync");
  // A yield lets the window paint and take clicks; the batch is committed there when it is due.
  auto commitAndYield = [&] {
    renewal.CommitWhenDue(settings.commitInterval);
    view.Yield();
  };
  int exitos = 0;
  std::int64_t stoppedAt = 0;  // the entry whose record the database refused; 0 while all is well
  std::vector<std::string> changed;
  for (std::int64_t i = 1; i <= total; ++i) {
    view.SetProgressValue(i);
    clsArchivo& archivo = session.Archivos.ITemID(static_cast<std::size_t>(i));
    // "ZZ" has nothing to carry out; its row is written again, unless it was held back (it then
    // keeps its old one).
    const bool planned = archivo.Action != "ZZ";
    if (!planned && archivo.heldBack) {
      renewal.KeepOldRow(archivo);
      continue;
    }
    bool ok = true;
    if (planned) {
      view.ShowStatus(sincronizando + archivo.Nombre);
      changed.clear();
      ok = PerformAction(run, archivo, changed);
      for (const std::string& path : changed) renewal.FileChanged(path);
      archivo.Estado = ok ? "E" : "R";
      view.SetFileRowResult(archivo.Nombre, ok ? "OK" : "KO", session.W("st" + archivo.Estado.str()));
    }
    GrabaRegistro(session, renewal, tarea, archivo);
    if (renewal.DatabaseFailed()) {
      stoppedAt = i;
      break;
    }
    if (!planned) continue;
    if (!ok) {
      session.Fallos += 1;
      commitAndYield();
    } else if (++exitos > kSuccessesPerYield) {
      exitos = 0;
      commitAndYield();
    }
  }
  if (stoppedAt == 0) {
    renewal.Finish();
  } else {
    // What was recorded before the refusal is kept, if the database takes it; the old rows of the
    // entries not reached must stay.
    renewal.Commit();
    StopOnDatabaseRefusal(session, view, prefijo, stoppedAt);
  }
  if (total == 0) view.SetProgressValue(maximo);

  EscribeLog(view, prefijo + session.W("panReady"));
  view.SetBusy(false);
  FinalizaTarea(session, view, tarea);
  MuestraEstado(view, *session.Words, "panReady");
  view.SetWorking(false);
}

}  // namespace tandrel
