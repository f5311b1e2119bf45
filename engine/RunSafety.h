#pragma once
// The checks a run makes before it overwrites or deletes a file, so that nothing the user still
// needs is lost: the file must still be the regular file the analysis saw, and a read-only file is
// touched only when the task says to ignore the attribute (also when the program runs as root,
// where the system itself would let it through).
#include <string>
#include <string_view>

#include "engine/FileSystem.h"

namespace tandrel {

// Read-only here means the owner-write bit is clear.
inline bool IsReadOnly(const FileInfo& info) { return (info.mode & 0200) == 0; }

// "" when path is still a regular file whose size text and last-write text are those given (the
// analysis's); else the reason, for the log line that names the file. found, when given, receives
// what the lookup found.
std::string ChangedSinceAnalysis(FileSystem& fs, const std::string& path, std::string_view size,
                                 std::string_view modified, FileInfo* found = nullptr);

// Deletes the file at path after ChangedSinceAnalysis; a read-only file is made writable first
// when ignoreReadOnly, and refused otherwise. "" or the reason it is still there.
std::string DeleteCheckedFile(FileSystem& fs, const std::string& path, std::string_view size,
                              std::string_view modified, bool ignoreReadOnly);

}  // namespace tandrel
