#include "engine/Automaticas.h"

#include "core/Public.h"
#include "engine/Analisis.h"

namespace tandrel {

int EjecutaAutomaticas(Session& session, AppView& view, const std::function<void(int)>& sincroniza) {
  EscribeLog(view, session.W("logExecute"));
  int notAnalysed = 0;
  for (int i = 1; i <= session.Tareas.Count(); ++i) {
    if (session.Tareas.ITem1(i).AutoRun != 1) continue;
    AnalizaTarea(session, view, i, true);
    if (session.driveError) {
      ++notAnalysed;
    } else if (sincroniza) {
      sincroniza(i);
    }
  }
  EscribeLog(view, session.W("logExecuteF"));
  return notAnalysed;
}

}  // namespace tandrel
