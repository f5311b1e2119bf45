#include "engine/Analisis.h"

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/ActionMapping.h"
#include "engine/CompruebaLados.h"
#include "engine/modFiles.h"

namespace tandrel {

namespace {

std::string Numero(double value) { return std::to_string(static_cast<long long>(value)); }

std::string Prefijo(const clsTarea& tarea) { return "#" + std::to_string(tarea.ID) + ": "; }

// One walk over the entries by position: counts raised for every entry, rows added for those the
// filter buttons show. No yield inside: the list is filled in one go.
void RecorreEntradas(Session& session, AppView& view, const ArrowDrives& drives, bool mostrar) {
  session.shownDrives = drives;
  const clsArchivos& archivos = session.Archivos;
  for (std::size_t i = 1; i <= archivos.Count(); ++i) {
    view.SetProgressValue(static_cast<std::int64_t>(i));
    const clsArchivo& archivo = archivos.ITemID(i);
    const ActionMapping* mapping = FindActionMapping(archivo.Action);
    if (mapping == nullptr) continue;  // no code of ours: nothing to count or draw
    RaiseCount(session.cuentas, mapping->count);
    if (mostrar && IsShown(mapping->filter, session.INI)) {
      view.AddFileRow(MakeFileRow(archivo, *mapping, *session.Words, drives));
    }
  }
}

void EscribeResumen(Session& session, AppView& view, const std::string& prefijo) {
  const Counts& c = session.cuentas;
  EscribeLog(view, prefijo + Numero(c.conflictos) + " " + session.W("logFileconflict"));
  EscribeLog(view, prefijo + Numero(c.copias) + " " + session.W("logFileCopy"));
  EscribeLog(view, prefijo + Numero(c.actualizaciones) + " " + session.W("logFileActu"));
  EscribeLog(view, prefijo + Numero(c.sinCambios) + " " + session.W("logFileChange"));
}

void EscribeNumeroDeEntradas(Session& session, AppView& view, const std::string& prefijo) {
  EscribeLog(view, prefijo + std::to_string(session.Archivos.Count()) + " " +
                       session.W("logFiles"));
}

// Loads the task's snapshot and masks. A failure stops the pass: without its masks a task would
// plan files meant to stay out of it, and without its snapshot every file would look new.
bool CargaInstantaneaYMascaras(Session& session, AppView& view, const clsTarea& tarea,
                               const std::string& prefijo) {
  std::string fallo = session.Ficheros.Carga(session.conexion, session.Hostname,
                                             std::to_string(tarea.ID));
  if (fallo.empty()) fallo = session.Mascaras.Carga(session.conexion, tarea.ID);
  if (fallo.empty()) return true;
  EscribeLog(view, prefijo + fallo);
  return false;
}

}  // namespace

void ActivaSincronizar(AppView& view, bool estado) { view.EnableSync(estado); }

void AnalizaTarea(Session& session, AppView& view, int indice, bool mostrar) {
  if (indice < 1 || indice > session.Tareas.Count()) return;
  const clsTarea tarea = session.Tareas.ITem1(indice);
  const std::string prefijo = Prefijo(tarea);

  // Held off while the pass runs: the window disables the analyse command (button and menu entry)
  // and everything that would change the task list or the entries, so a second analysis cannot
  // start inside this one while it yields.
  view.SetWorking(true);
  view.EnableAnalyse(false);
  view.SetBusy(true);
  // The entries are about to be replaced: a run must not start on them until they are complete.
  ActivaSincronizar(view, false);

  view.SetProgressValue(0);
  view.SetProgressMax(static_cast<std::int64_t>(session.Archivos.Count()) + 1);
  session.cuentas = Counts{};
  session.TareaAnalizada = indice;
  session.driveError = false;
  session.heldBackFolders.clear();
  session.passedOver = 0;

  EscribeLog(view, prefijo + session.W("panAnalyzing"));
  MuestraEstado(view, *session.Words, "pananalyzing");
  session.Archivos = clsArchivos();
  const ArrowDrives drives = DrivesForTask(session, tarea);
  view.ClearFileRows();
  view.Yield();

  bool legible = CargaInstantaneaYMascaras(session, view, tarea, prefijo) &&
                 CompruebaLados(session, view, tarea, prefijo);
  if (legible) {
    // Most entries of a task are in its snapshot: one allocation instead of a doubling series.
    session.Archivos.Reserve(session.Ficheros.Count() + session.Ficheros.Count() / 16 + 64);
    session.Archivos.ShareNames(session.Ficheros);
    const ScanReport informe = AnalizaCarpetas(session, view, indice);
    if (informe.pasados > 0) {
      EscribeLog(view, prefijo + std::to_string(informe.pasados) + " " + session.W("logLinks"));
    }
    EscribeNumeroDeEntradas(session, view, prefijo);
    view.Yield();

    view.SetProgressValue(0);
    if (session.Archivos.Count() > 0) {
      view.SetProgressMax(static_cast<std::int64_t>(session.Archivos.Count()));
    }
    RecorreEntradas(session, view, drives, mostrar);
    EscribeResumen(session, view, prefijo);
  } else {
    // No run may follow: it would rewrite the snapshot from an empty entry list.
    session.driveError = true;
  }

  view.Yield();
  view.SetBusy(false);
  EscribeLog(view, prefijo + session.W("panReady"));
  MuestraEstado(view, *session.Words, "panReady");
  view.EnableAnalyse(true);
  if (legible) ActivaSincronizar(view, true);
  view.SetWorking(false);
}

void ListaArchivos(Session& session, AppView& view) {
  // After a run (-1) or a reload of the task list the entries belong to no listed task.
  if (session.TareaAnalizada < 1 || session.TareaAnalizada > session.Tareas.Count()) return;
  const clsTarea& tarea = session.Tareas.ITem1(session.TareaAnalizada);
  const std::string prefijo = Prefijo(tarea);

  view.SetBusy(true);
  view.SetProgressValue(0);
  view.SetProgressMax(static_cast<std::int64_t>(session.Archivos.Count()));
  const ArrowDrives drives = DrivesForTask(session, tarea);
  session.cuentas = Counts{};
  view.ClearFileRows();

  EscribeLog(view, prefijo + session.W("panListing"));
  EscribeNumeroDeEntradas(session, view, prefijo);
  view.Yield();
  RecorreEntradas(session, view, drives, true);
  EscribeResumen(session, view, prefijo);
  view.Yield();
  view.SetBusy(false);
}

void ActualizaEnlista(Session& session, AppView& view, const std::string& nombre,
                      const std::string& accion) {
  const clsArchivo* archivo = session.Archivos.Find(nombre);
  if (archivo == nullptr) return;

  // The dialog may change any row, not only a conflict, and the run decides the task's alert state
  // from this count: counting again cannot drift, whatever the row was before.
  double conflictos = 0;
  for (std::size_t i = 1; i <= session.Archivos.Count(); ++i) {
    if (IsConflict(session.Archivos.ITemID(i).Action)) conflictos += 1;
  }
  session.cuentas.conflictos = conflictos;

  const ActionMapping* mapping = FindActionMapping(archivo->Action);
  if (mapping == nullptr) return;  // no code of ours: never drawn
  // A row the filter buttons hide is not in the list: the view passes over it.
  const ArrowDrives& drives = session.shownDrives;
  view.SetFileRowArrowAndIcon(nombre, drives.usb + std::string(mapping->arrow) + drives.pc,
                              accion.empty() ? std::string(mapping->word) : accion);
}

}  // namespace tandrel
