#include "engine/FileSystem.h"

#include <cerrno>

namespace tandrel {

// The shortcuts are missing unless a file system offers them: the copy then takes the plain calls.
int FileSystem::OpenUnnamed(const std::string&, std::uint32_t) { return -EOPNOTSUPP; }
int FileSystem::LinkUnnamed(int, const std::string&) { return -EOPNOTSUPP; }
std::int64_t FileSystem::CopyRange(int, int, std::size_t) { return -EOPNOTSUPP; }
int FileSystem::SetTimesOf(int, FileTime, FileTime) { return -EOPNOTSUPP; }
int FileSystem::ChangeModeOf(int, std::uint32_t) { return -EOPNOTSUPP; }
int FileSystem::StatOf(int, FileInfo&) { return -EOPNOTSUPP; }

}  // namespace tandrel
