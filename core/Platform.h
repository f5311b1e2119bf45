#pragma once
// What stands in for the platform: the program folder, the drive of a path (the mount point that
// holds it), path separators, the computer name.
#include <string>
#include <string_view>
#include <vector>

namespace tandrel {

struct MountTable {
  std::vector<std::string> mountPoints;  // absolute, without trailing "/" (the root is "/")
  // The file system type of each mount point, same order ("ext4", "proc"); empty when unknown (a
  // table handed in without types).
  std::vector<std::string> fileSystems = {};
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
// The USB folder of a task as the user sees and types it: the drive the program runs from, one "/",
// then Left ("/media/ana/STICK" and "Data" or "\\Data" give "/media/ana/STICK/Data"). A drive
// letter is upper-cased, a mount point stays exactly as it is; on the root file system it is Left
// alone.
std::string JoinDriveAndLeft(std::string_view drive, std::string_view left);
// Left back from such a text: the text after its own drive, whatever drive was typed (a folder on
// another stick is looked for on the program's). A text that is still exactly what
// JoinDriveAndLeft(drive, shownLeft) gave yields shownLeft unchanged, so opening a task and
// confirming it never rewrites its folder.
std::string SplitLeft(std::string_view text, std::string_view drive, std::string_view shownLeft,
                      const MountTable& mounts);
// The folder at the root of a drive, ending in "/": the root file system (the empty drive, or "/"
// as a drive list shows it) gives "/".
std::string DriveRoot(std::string_view drive);
// How a drive is shown where it stands alone: the empty drive as "/", a drive letter upper-cased.
std::string DriveForDisplay(std::string_view drive);

// The folders a drive list offers, sorted, as a file manager shows them: the root file system
// ("/"), `home`, and mounted disks and sticks; never the system's own mounts (proc, sysfs, cgroups,
// terminals, anything below /proc, /sys, /dev, /run or /snap but /run/media). `always` (the
// program's drive, "" for the root) is listed whatever it is.
std::vector<std::string> DrivesToShow(const MountTable& mounts, std::string_view home,
                                      std::string_view always);

// The folder of the running executable, links resolved; TANDREL_HOME instead when it is set.
// Never ends in "/" (except the root itself).
std::string ProgramFolder();
// The executable's own file name without extension ("Tandrel").
std::string ExecutableBaseName();

// A path as the file layer uses it: every "\" turned into "/".
std::string NativePath(std::string_view path);
// folder and name joined with exactly one "/" between them (name may use "\" or "/").
std::string JoinPath(std::string_view folder, std::string_view name);
bool IsSeparator(char c);  // "/" or "\"
// The path without its trailing "/" ("/" itself stays).
std::string WithoutTrailingSlashes(std::string_view path);
// The path ending in "/" ("/a" -> "/a/"). An empty text stays empty: no folder named nowhere may
// turn into the root.
std::string WithTrailingSlash(std::string_view path);
// The parent folder of a path ("/a/b/c.txt" -> "/a/b"); "/" for a file in the root, "." for a bare
// name (the current folder).
std::string ParentFolder(std::string_view path);

// COMPUTERNAME when set and not empty, else the system's host name.
std::string ComputerName();

}  // namespace tandrel
