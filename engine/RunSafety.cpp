#include "engine/RunSafety.h"

#include "engine/FileTimes.h"

namespace tandrel {

std::string ChangedSinceAnalysis(FileSystem& fs, const std::string& path, std::string_view size,
                                 std::string_view modified, FileInfo* found) {
  FileInfo local;
  FileInfo& info = found != nullptr ? *found : local;
  if (const int error = fs.Stat(path, info); error != 0) return ErrorText(error);
  if (info.type != EntryType::File) return "not a regular file";
  // The same text forms the analysis compared: a change it could not have seen is no change here.
  if (TextoTamano(info.size) != size || FechaArchivo(info.modified) != modified) {
    return "changed since the analysis";
  }
  return {};
}

std::string DeleteCheckedFile(FileSystem& fs, const std::string& path, std::string_view size,
                              std::string_view modified, bool ignoreReadOnly) {
  FileInfo info;
  if (std::string changed = ChangedSinceAnalysis(fs, path, size, modified, &info);
      !changed.empty()) {
    return changed;
  }
  if (IsReadOnly(info)) {
    if (!ignoreReadOnly) return "read-only";
    if (const int error = fs.ChangeMode(path, info.mode | 0200); error != 0) {
      return ErrorText(error);
    }
  }
  if (const int error = fs.Unlink(path); error != 0) return ErrorText(error);
  return {};
}

}  // namespace tandrel
