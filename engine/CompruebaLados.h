#pragma once
// The check before a scan that both sides of a task can be read: a stick that is not there must
// never look like a folder whose files were all deleted.
#include <string>

#include "engine/AppView.h"
#include "engine/Session.h"

namespace tandrel {

// Checks the USB side (its drive, then its folder), then the PC side. A drive that cannot be
// listed fails; so does a task folder that cannot be listed, except a missing one while the
// snapshot is empty (a new task: the run creates it); so does a task folder that holds nothing
// while the snapshot holds rows (the box then says it is empty). A folder text that is empty or not an
// absolute path fails as missing: it must never stand for the current folder.
// On the first failure: the log line prefijo & "ERROR= " & the drive, the "Error reading drive"
// box naming the folder and the cause, and false. The PC side is then not checked.
[[nodiscard]] bool CompruebaLados(Session& session, AppView& view, const clsTarea& tarea,
                                  const std::string& prefijo);

}  // namespace tandrel
