#pragma once
// Tasks as the dialogs edit them: a task's fields as a dialog shows them (the stick's folder with
// the drive the program runs from, the letters as flags), and the inserts, updates, copies and
// deletions of task rows that the new-task wizard, the task editor and the main window ask for.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/AppView.h"
#include "engine/Session.h"
#include "store/Sentencias.h"
#include "store/TaskOptions.h"
#include "store/clsTarea.h"

namespace tandrel {

struct TaskForm {
  std::string descripcion;
  std::string usbFolder;  // full path as shown and typed; its drive is dropped when stored
  std::string pcFolder;   // full path
  TaskOptions options;
  // The stored folder usbFolder was shown from ("" for a new task): while the text is still what
  // was shown, it is stored again as it was, spelling and separators included.
  std::string usbLeft;

  bool operator==(const TaskForm&) const = default;
};

// The form of a stored task: its USB folder on the drive the program runs from, since a stick
// gets another mount point on every computer.
TaskForm FormOfTask(const Session& session, const clsTarea& tarea);

// Inserts a never-run task of this computer from the form, logs "logCREATEDTASK" and its ID, and
// reloads the task list. Whatever drive was typed for the USB folder, the folder is kept without
// it, to be looked for on the program's own drive. The new ID, or 0 when the row could not be
// written (the error then logged).
[[nodiscard]] std::int64_t CreateTask(Session& session, AppView& view, const TaskForm& form);

// Writes the form into the task at 1-based position of session.Tareas and into its row (ID,
// type and last run stay). "" or the error description: a task that could not be saved must not
// look saved, so the caller reports it.
[[nodiscard]] std::string SaveTask(Session& session, int position, const TaskForm& form);

// Every computer's tasks, ordered by computer, for the wizard's list of tasks to copy; a failing
// read is logged and lists what was read.
[[nodiscard]] std::vector<TareaDeHost> TasksOfEveryComputer(Session& session, AppView& view);

// The form of the task with this ID, of whatever computer, for a new task made as its copy: its
// folders and letters, no description (the new task keeps the one typed for it). Nothing when no
// such task can be read (a failing read is logged).
[[nodiscard]] std::optional<TaskForm> CopyOfTask(Session& session, AppView& view, std::int64_t id);

// Removes the task at 1-based position with the snapshot rows of every computer (its masks stay).
// An analysis of it on display is forgotten, so that it is neither listed nor run. Failures are
// not reported: the task list is reloaded from the database afterwards anyway.
void DeleteTask(Session& session, int position);

}  // namespace tandrel
