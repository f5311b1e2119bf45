#pragma once
// What the engine needs of the main window: the two lists, the progress bar, the pointer, the
// commands it enables, and a yield. Plain values only, no Qt. The window implements it with widgets,
// the command line with text on standard error, and tests with a recording in memory.
#include <cstdint>
#include <string>

#include "core/UserInterface.h"

namespace tandrel {

// A row of the file list (lstEstado), as the analysis and the listing build it.
struct FileRow {
  std::string key;    // the entry's Nombre
  std::string icon;   // image key: "ADD", "DEL", "OK", "ACTU", "CONFLICT", "KO", "USER"
  std::string state;  // W("st" & Estado)
  std::string arrow;  // USB drive & arrow & PC drive
  std::string bytes;  // size text & " bytes"
};

// A row of the task list (lstTareas).
struct TaskRow {
  int position = 0;   // 1-based position in Tareas
  std::int64_t id = 0;
  std::string icon;   // "KO", "OK", "ALERT"
  std::string description;
  std::string state;  // W("tskPending"), W("tskDone"), W("tskALERT")
  std::string usbFolder;
  std::string pcFolder;
  std::string lastSync;  // display form
};

// Every call but the log and the messages does nothing unless a view overrides it: a view without
// lists or progress (the command line) overrides none of them.
class AppView : public LogSink, public MessageSink {
 public:
  void ShowStatus(const std::string&) override {}

  // Progress bar (minimum 0).
  virtual void SetProgressMax(std::int64_t max) {}
  virtual void SetProgressValue(std::int64_t value) {}
  // Hourglass pointer on / default pointer back.
  virtual void SetBusy(bool busy) {}
  // Lets the window system process pending events (the window rate-limits it).
  virtual void Yield() {}

  // File list. Rows hidden by the filter buttons are never added.
  virtual void ClearFileRows() {}
  virtual void AddFileRow(const FileRow& row) {}
  // Redraws the arrow and icon of the row keyed key. A key without a row (one the filter buttons
  // hide) is skipped silently.
  virtual void SetFileRowArrowAndIcon(const std::string& key, const std::string& arrow,
                                      const std::string& icon) {}
  // After a run: icon "OK"/"KO" and the state word. A key without a row is skipped silently.
  virtual void SetFileRowResult(const std::string& key, const std::string& icon,
                                const std::string& state) {}

  // Task list.
  virtual void ClearTaskRows() {}
  virtual void AddTaskRow(const TaskRow& row) {}
  // position is 1-based, as in the row key.
  virtual void SetTaskRowResult(int position, const std::string& icon, const std::string& state,
                                const std::string& lastSync) {}
  virtual void SetTaskFrameCaption(const std::string& caption) {}

  // "ANAL" (ActivaAnalizar) and "SYNC" with mnuSync (ActivaSincronizar).
  virtual void EnableAnalyse(bool enabled) {}
  virtual void EnableSync(bool enabled) {}
  // Long work (analysis, run) begins or ends: commands that would change the task list or the
  // entries are held off meanwhile.
  virtual void SetWorking(bool working) {}

  // NuevaTarea's wizard, shown modally; the command line has none and returns at once.
  virtual void OpenNewTaskWizard() {}
};

}  // namespace tandrel
