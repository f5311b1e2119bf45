#pragma once
// The start-up pass over the tasks marked to start by themselves: each is analysed and then
// synchronised, one task after the other, without asking.
#include <functional>

#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

// Logs "logExecute"; for each task whose AutoRun is 1, in list order, AnalizaTarea(i, true) and then
// sincroniza(i) with its 1-based position; logs "logExecuteF". A task whose analysis could not read
// a side is not synchronised: the sync command would be disabled for it too. Returns how many
// tasks were so left out.
int EjecutaAutomaticas(Session& session, AppView& view, const std::function<void(int)>& sincroniza);

}  // namespace tandrel
