#pragma once
// The analysis pass of a task and the file list built from its entries: the pass itself, the
// re-listing under the filter buttons, the update of one row after the user changed an entry's
// action, and the switch of the sync command.
#include <string>

#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

// Analyses the task at 1-based position indice: loads its snapshot and masks, checks that both
// sides can be read, scans and classifies both folders into session.Archivos, counts the entries
// by kind, fills the file list (only when mostrar) and writes the summary to the log. A side that
// cannot be read stops it before the scan with the "ERROR= " line and the "Error reading drive"
// box; synchronisation then stays disabled and session.driveError is set.
void AnalizaTarea(Session& session, AppView& view, int indice, bool mostrar);

// Rebuilds the file list and the four counts from the entries in memory, under the filter buttons
// as session.INI holds them. Does nothing when no analysis is on display (TareaAnalizada < 1).
void ListaArchivos(Session& session, AppView& view);

// Redraws the row keyed nombre after the user changed its entry's Action: the code's arrow between
// the USB drive and the PC drive the row already showed, and the code's icon, or accion when it is
// not empty. The conflict count is kept equal to the number of conflict entries.
void ActualizaEnlista(Session& session, AppView& view, const std::string& nombre,
                      const std::string& accion);

// Enables or disables the sync command (toolbar button and menu entry).
void ActivaSincronizar(AppView& view, bool estado);

}  // namespace tandrel
