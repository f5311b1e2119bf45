#pragma once
// The files of a task's USB folder as one list keyed by relative name, for comparing them with
// the snapshot of another task that uses the same folder of the stick.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AppView.h"
#include "engine/FileSystem.h"
#include "store/FoldedIndex.h"
#include "store/clsArchivos.h"

namespace tandrel {

struct StickFile {
  std::string name;  // relative name, proper case, parts joined by "\"
  SizeText size;     // the texts a snapshot row keeps
  TimeText last;
};

class StickListing {
 public:
  static constexpr std::size_t npos = FoldedIndex::npos;

  // The files an analysis found on the USB side.
  static StickListing FromEntries(const clsArchivos& archivos);
  // Lists folder (a real path ending in "/") and all its subfolders, yielding after each
  // subfolder. Links, special files and the run's temporary files are passed over; of two names
  // of one folder that differ only in case the first listed is kept. A subfolder that cannot be
  // read, and a link or special file that may stand where a folder was, is remembered (see
  // BelowHeldBackFolder); a top folder that cannot be listed leaves the error.
  static StickListing List(FileSystem& fs, AppView& view, const std::string& folder);

  std::size_t Count() const { return files_.size(); }
  const StickFile& At(std::size_t i) const { return files_[i]; }
  // The position of the file named name without regard to case (the snapshot's key folding), or
  // npos.
  std::size_t Find(std::string_view name) const;
  // True when whether name is on the stick cannot be told: it lies below a folder that could not
  // be read, or below a link, a file or a special file that stands where a folder was (the folder
  // may have been moved elsewhere, as the task's own scan takes it).
  bool BelowHeldBackFolder(std::string_view name) const;
  // The description of why the folder itself could not be listed, or "".
  const std::string& Error() const { return error_; }

 private:
  void Add(StickFile file);
  void ListFolder(FileSystem& fs, AppView& view, const std::string& folder,
                  const std::string& relative, bool top);

  std::vector<StickFile> files_;
  FoldedIndex index_;
  // Case-folded relative folders, ending in "\": unreadable, or a link or special file.
  std::vector<std::string> heldBack_;
  std::string error_;
};

}  // namespace tandrel
