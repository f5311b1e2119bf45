#pragma once
// The run with its tuning given: how often it commits its snapshot batch. The program uses the
// defaults through Sincroniza(session, view, tarea); tests shorten the interval to stop a run
// between two commits.
#include <chrono>

#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

struct RunSettings {
  // A batch is committed at a yield only when the last commit is at least this long ago: each
  // commit costs several synchronous writes of the database and a flush of whole file systems
  // (other programs' writes included), so one per hundred small files would cost more than the
  // copies. A run stopped meanwhile loses only rows the next analysis does without: its copies are
  // found in step, and the old rows of its deletions are dropped by the next run.
  std::chrono::milliseconds commitInterval{2000};
};

void Sincroniza(Session& session, AppView& view, int tarea, const RunSettings& settings);

}  // namespace tandrel
