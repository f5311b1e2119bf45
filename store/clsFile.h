#pragma once
// One snapshot record: a file as it was at the end of the task's last run on this computer.
#include <cstdint>
#include <string_view>

#include "store/clsArchivo.h"

namespace tandrel {

struct clsFile {
  std::string_view file;  // relative name, the key; the text belongs to the clsFiles that holds it
  TimeText Creation;
  TimeText Last;
  TimeText Access;    // "VOID" marks the blank record of a name the snapshot lacks
  TimeText Sync;
  SizeText Size;
  std::int64_t RowId = 0;  // SQLite's rowid of the row, so a run can replace it without a search

  // Packed once: a comparison with a text would pack that text again at every call.
  static const TimeText& Void() {
    static const TimeText kVoid("VOID");
    return kVoid;
  }
  bool Known() const { return Access != Void(); }
};

}  // namespace tandrel
