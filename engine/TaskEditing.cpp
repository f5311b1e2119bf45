#include "engine/TaskEditing.h"

#include "core/Platform.h"
#include "core/Public.h"
#include "engine/Startup.h"
#include "store/Sentencias.h"

namespace tandrel {

namespace {

std::string ProgramDrive(const Session& session) {
  return DriveOf(session.carpetaPrograma, session.mounts);
}

// The form's fields into the task; ID, type and last run are left as they are.
void FillTask(const Session& session, const TaskForm& form, clsTarea& tarea) {
  tarea.Descripcion = form.descripcion;
  tarea.Left = SplitLeft(form.usbFolder, ProgramDrive(session), form.usbLeft, session.mounts);
  tarea.Right = form.pcFolder;
  form.options.ApplyTo(tarea);
}

void LogError(AppView& view, const std::string& error) {
  if (!error.empty()) EscribeLog(view, "** ERROR ** : " + error);
}

}  // namespace

TaskForm FormOfTask(const Session& session, const clsTarea& tarea) {
  return {tarea.Descripcion, JoinDriveAndLeft(ProgramDrive(session), tarea.Left), tarea.Right,
          TaskOptions::Of(tarea), tarea.Left};
}

std::int64_t CreateTask(Session& session, AppView& view, const TaskForm& form) {
  clsTarea tarea;
  tarea.Tipo = 1;
  tarea.LastEXE = "00000000000000";  // never synchronised
  FillTask(session, form, tarea);
  std::string error;
  const std::int64_t id = InsertaTarea(session.conexion, session.Hostname, tarea, &error);
  if (id != 0) {
    EscribeLog(view, session.W("logCREATEDTASK") + " " + std::to_string(id));
  } else {
    LogError(view, error);
  }
  CargaTareas(session, view);
  return id;
}

std::string SaveTask(Session& session, int position, const TaskForm& form) {
  clsTarea& tarea = session.Tareas.ITem1(position);
  FillTask(session, form, tarea);
  return tarea.Guarda(session.conexion, session.Hostname);
}

std::vector<TareaDeHost> TasksOfEveryComputer(Session& session, AppView& view) {
  std::vector<TareaDeHost> tareas;
  LogError(view, LeeTodasLasTareas(session.conexion, tareas));
  return tareas;
}

std::optional<TaskForm> CopyOfTask(Session& session, AppView& view, std::int64_t id) {
  std::optional<TareaDeHost> leida;
  LogError(view, LeeTareaPorId(session.conexion, id, leida));
  if (!leida) return std::nullopt;
  TaskForm form = FormOfTask(session, leida->Tarea);
  form.descripcion.clear();
  return form;
}

void DeleteTask(Session& session, int position) {
  const std::int64_t id = session.Tareas.ITem1(position).ID;
  if (session.TareaAnalizada == position) session.TareaAnalizada = 0;
  (void)BorraTarea(session.conexion, id);
  (void)BorraFicherosDeTarea(session.conexion, id);
}

}  // namespace tandrel
