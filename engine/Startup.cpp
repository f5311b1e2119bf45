#include "engine/Startup.h"

#include <cstdlib>

#include "core/Public.h"
#include "engine/Automaticas.h"
#include "engine/Sincronizacion.h"
#include "store/Sentencias.h"

namespace tandrel {

namespace {

void Log(Session& session, AppView& view, std::string_view key) { EscribeLog(view, session.W(key)); }

void Status(Session& session, AppView& view, std::string_view key) {
  MuestraEstado(view, *session.Words, key);
}

// The USB folder as the task list shows it: the drive the program runs from, then Left.
std::string CarpetaUSB(const Session& session, const clsTarea& tarea) {
  return JoinDriveAndLeft(DriveOf(session.carpetaPrograma, session.mounts), tarea.Left);
}

}  // namespace

void LogStartLines(Session& session, AppView& view) {
  EscribeLog(view, session.W("logStarting") + " " + kTitulo + " (ver. " + VersionText() + ")");
  EscribeLog(view, session.W("logTime") + ": " + FechaHora(1));
  if (const std::string note = session.INI.WriteProtection(); !note.empty()) EscribeLog(view, note);
}

StartResult StartUpAgainstDatabase(Session& session, AppView& view, const StartOptions& options) {
  Log(session, view, "panConnecting");
  Status(session, view, "panConnecting");
  view.Yield();

  const std::string error = ConectaBD(session.conexion, session.INI, session.carpetaPrograma);
  if (!error.empty()) {
    Status(session, view, "errConnecting");
    Log(session, view, "errConnecting");
    // Another Tandrel is the one case the user can settle at once: say it in the user's words.
    const std::string cause =
        session.conexion.InUse() ? session.W("errDBInUse") + "\r\n" + error : error;
    view.ShowMessage(MessageIcon::Critical, kTitulo, session.W("errConnecting") + "\r\n" + cause);
    return StartResult::ConnectionError;
  }
  Status(session, view, "panConnected");
  Log(session, view, "panConnected");
  // Tasks can still be listed and analysed; each run says it is refused.
  if (const std::string readOnly = session.conexion.ReadOnlyCause(); !readOnly.empty()) {
    EscribeLog(view, "** WARNING ** : " + readOnly);
  }
  // A database without a usable FILES table still lists its tasks; the run then reports each row
  // it cannot record, so nothing is hidden.
  const std::string rsError = session.rsFiles.Open(session.conexion);
  if (!rsError.empty()) EscribeLog(view, "** ERROR ** : " + rsError);
  view.Yield();

  // The computer's name comes before the clock check, so that a task made by the first-run wizard
  // belongs to this computer.
  session.Hostname = ComputerName();

  const std::string ahora = FechaHora(0);
  if (!session.INI.LastEXE.empty() && session.INI.LastEXE > ahora) {
    // LastEXE keeps the later stamp: every start stops here until the clock passes it.
    view.ShowMessage(MessageIcon::Critical, kTitulo, session.W("errTime"));
    return StartResult::ClockError;
  }
  if (session.INI.LastEXE.empty() && options.firstRunWizard) NuevaTarea(session, view);
  session.INI.LastEXE = ahora;

  view.SetTaskFrameCaption(session.W("logShowTasks") + " " + session.Hostname);
  EscribeLog(view, "Hostname: " + session.Hostname);
  Log(session, view, "panSearchingT");
  view.Yield();

  const std::string cuenta = CuentaTareas(session.conexion, session.Hostname);
  if (std::atol(cuenta.empty() ? "0" : cuenta.c_str()) <= 0) {
    Log(session, view, "logNoTasks");
    Status(session, view, "logNoTasks");
  } else {
    EscribeLog(view, session.W("logShowTasks") + " " + session.Hostname);
    view.Yield();
    CargaTareas(session, view);
    if (options.runAutoStart) {
      EjecutaAutomaticas(session, view, [&](int tarea) { Sincroniza(session, view, tarea); });
    }
  }
  view.EnableAnalyse(session.Tareas.Count() > 0);
  view.Yield();
  return StartResult::Ready;
}

void CargaTareas(Session& session, AppView& view) {
  view.Yield();
  const std::string error = session.Tareas.Carga(session.conexion, session.Hostname);
  if (!error.empty()) EscribeLog(view, "** ERROR ** : " + error);
  view.ClearTaskRows();
  for (int i = 1; i <= session.Tareas.Count(); ++i) {
    const clsTarea& tarea = session.Tareas.ITem1(i);
    TaskRow row;
    row.position = i;
    row.id = tarea.ID;
    row.icon = "KO";
    row.description = tarea.Descripcion;
    row.state = session.W("tskPending");
    row.usbFolder = CarpetaUSB(session, tarea);
    row.pcFolder = NativePath(tarea.Right);
    row.lastSync = FormateaFecha(tarea.LastEXE);
    view.AddTaskRow(row);
  }
  view.EnableAnalyse(session.Tareas.Count() > 0);
}

void NuevaTarea(Session& session, AppView& view) {
  Log(session, view, "logAddTask");
  view.OpenNewTaskWizard();
}

void ShutDown(Session& session, AppView& view) {
  const bool wasConnected = session.conexion.IsOpen();
  session.rsFiles.Close();
  session.conexion.Close();
  // A database that never opened is not compacted: the connection error has been shown already,
  // and a second warning about the same file would say nothing new.
  // Compaction replaces the file: only under the one-Tandrel lock (see DatabaseLock).
  if (session.INI.CompactDataBase && wasConnected && session.conexion.Locked()) {
    Log(session, view, "panCOMPACT");
    Status(session, view, "panCompact");
    view.Yield();
    const std::string origen = QuitaPuntoYComa(session.INI.DB_DataSource);
    const std::string destino = JoinPath(session.carpetaPrograma, "data/compact.mdb");
    if (CompactaBD(origen, destino, session.carpetaPrograma, view)) {
      const std::string error = ReemplazaPorCompactado(origen, destino, session.carpetaPrograma);
      if (!error.empty()) view.ShowMessage(MessageIcon::Warning, kTitulo, error);
    }
  }
  session.conexion.Release();
  // The Tandrel that holds the database writes the settings at its own exit; this one changes
  // nothing.
  if (session.conexion.InUse()) return;
  if (const std::string error = session.INI.Release(); !error.empty()) {
    EscribeLog(view, "** ERROR ** : " + error);
  }
}

}  // namespace tandrel
