#pragma once
// The one table from a state code to everything the program does with it: action word (also the
// icon key), count raised, side whose size is shown, filter button, arrow, and the operation a run
// carries out with the side it starts from. The analysis, the listing, the single-row update, the
// file dialog, the run and the snapshot update all read it here.
#include <string>
#include <string_view>

#include "engine/AppView.h"
#include "engine/Session.h"
#include "store/clsArchivo.h"

namespace tandrel {

enum class CountKind { None, Copies, Unchanged, Updates, Conflicts };
enum class FileSide { Usb, Pc };
// What a run does with an entry of the code: copy its file from one side to the other, delete it
// on one side, or leave it.
enum class Operation { None, Copy, Delete };
// The toolbar button that shows rows of the code; Always for rows no button hides.
enum class FilterButton { Always, OKS, FSYNC, CONFLICT };

struct ActionMapping {
  std::string_view code;   // "C1", "!3", ...
  std::string_view word;   // "ADD", "DEL", "OK", "ACTU", "CONFLICT"
  CountKind count;
  FileSide sizeSide;
  FilterButton filter;
  std::string_view arrow;  // eight characters: left end the USB side, right end the PC side
  Operation operation;
  // The side a copy is made from, or the side a deletion removes from; for an entry left alone,
  // the side whose data its snapshot row records.
  FileSide side;
};

// The mapping of a code, or nullptr for a text that is not one of the eleven codes.
const ActionMapping* FindActionMapping(std::string_view code);

// The code that copies an entry's file from side to the other as a new file ("C1" or "C2").
std::string_view CopyCode(FileSide from);

// Codes beginning with "!" are conflicts; every other part of the program tests only that.
inline bool IsConflict(std::string_view code) { return !code.empty() && code.front() == '!'; }

void RaiseCount(Counts& counts, CountKind kind);

// Whether the row of a code is shown with the filter buttons as the settings hold them.
bool IsShown(FilterButton filter, const clsArchivoINI& ini);

// The size text of the side the mapping names, as a plain decimal number. When that side has no
// size (a "ZZ" entry whose PC copy is gone), the other side's size is shown: it is the only size
// the entry has, and a blank or "0" would misstate the file.
std::string ShownSize(const clsArchivo& archivo, const ActionMapping& mapping);

ArrowDrives DrivesForTask(const Session& session, const clsTarea& tarea);

// A row of the file list for an entry (key Nombre, icon the action word, state word, arrow with
// drives, size & " bytes").
FileRow MakeFileRow(const clsArchivo& archivo, const ActionMapping& mapping, const clsWords& words,
                    const ArrowDrives& drives);

}  // namespace tandrel
