#pragma once
// The other computers of a stick folder: for a task, every task (of any computer, this one's other
// tasks included) whose USB folder is the same folder of the stick, when each last synchronised,
// and what its next run would carry from the stick to its PC. Other computers' rows are only read.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AppView.h"
#include "engine/Session.h"
#include "engine/StickListing.h"
#include "engine/WaitingFile.h"

namespace tandrel {

struct Peer {
  std::string host;
  clsTarea tarea;
  std::size_t newFiles = 0;   // on the stick, unknown to its snapshot
  std::size_t changed = 0;    // size or last-write time differs from its snapshot row
  std::size_t deletions = 0;  // in its snapshot, gone from the stick
  std::vector<std::string> notes;  // what to know before trusting the counts, in the user's words
  bool NothingWaiting() const { return newFiles + changed + deletions == 0; }
};

// The key under which two Left texts name the same folder of the stick: the folder as the scan
// joins it to the stick's drive, with no trailing separator ("/" is the root), in simple case
// folding as the snapshot's keys.
std::string StickFolderKey(std::string_view left);

// The tasks sharing the USB folder of tarea (tarea itself left out), ordered by computer then ID,
// their counts still 0. "" or the error description.
[[nodiscard]] std::string FindPeers(Session& session, const clsTarea& tarea,
                                    std::vector<Peer>& peers);

// The stick's files of the task at 1-based position indice: the entries of its analysis when it is
// on display and saw the whole folder, else a listing of the USB side alone.
StickListing StickFilesOfTask(Session& session, AppView& view, int indice);

// Fills the counts and notes of peer against stick, reading its snapshot rows once; with waiting,
// also the files themselves (the changed ones, then the new ones, then the deletions).
void CountWaiting(Session& session, const StickListing& stick, Peer& peer,
                  std::vector<WaitingFile>* waiting = nullptr);

// The peers of the task at position indice with their counts. "" or the error description (the
// stick folder cannot be listed: no counts then).
[[nodiscard]] std::string PeersOfTask(Session& session, AppView& view, int indice,
                                      std::vector<Peer>& peers);

// A task's last synchronisation as shown: the display form, or W("wrdNever") for a task that
// never ran.
std::string LastSyncText(const Session& session, std::string_view lastExe);

}  // namespace tandrel
