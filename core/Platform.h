#pragma once
// What stands in for the platform: the program folder, the drive of a path (the mount point that
// holds it), path separators, the computer name.
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

struct MountTable {
  std::vector<std::string> mountPoints;  // absolute, without trailing "/" (the root is "/")
};

// The mount points of /proc/self/mountinfo (octal escapes such as "\040" decoded). On failure a
// table that holds only "/".
MountTable ReadMountTable();
MountTable ParseMountInfo(std::string_view mountinfo);

// The drive of a path: the longest mount point that holds it, without a trailing "/"; the root
// file system gives the empty text. Both "\" and "/" count as separators in `path`.
std::string DriveOf(std::string_view path, const MountTable& mounts);
// The path after as many characters as its drive has ("/media/ana/STICK/Docs" -> "/Docs").
std::string WithoutDrive(std::string_view path, const MountTable& mounts);
// How a drive is shown where it stands alone: the empty drive as "/", a drive letter upper-cased.
std::string DriveForDisplay(std::string_view drive);

// The folder of the running executable, links resolved; TANDREL_HOME instead when it is set.
// Never ends in "/" (except the root itself).
std::string ProgramFolder();
// The executable's own file name without extension ("Tandrel").
std::string ExecutableBaseName();

// A path as the file layer uses it: every "\" turned into "/".
std::string NativePath(std::string_view path);
// folder and name joined with exactly one "/" between them (name may use "\" or "/").
std::string JoinPath(std::string_view folder, std::string_view name);
bool IsSeparator(char c);

// COMPUTERNAME when set and not empty, else the system's host name.
std::string ComputerName();

}  // namespace tandrel
