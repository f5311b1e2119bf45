#include "core/Platform.h"

#include <sys/auxv.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>  // program_invocation_name
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/Public.h"
#include "core/Text.h"

namespace tandrel {

namespace {

// mountinfo writes a space, tab, newline and backslash in a mount point as "\ooo".
std::string DecodeOctalEscapes(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
        out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
        i += 3;
        continue;
      }
    }
    out += field[i];
  }
  return out;
}

bool IsDriveLetterPath(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return false;
  const char c = path[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Started as `ld-linux-x86-64.so.2 .../Tandrel` (the portable folder's launcher does so, since a
// stick's files carry no exec bit), the process's executable is the loader, not Tandrel: the
// settings file would be named after the loader. The kernel loaded no interpreter then, so AT_BASE
// is 0 (this program is dynamically linked, so that happens in no other way), and the loader has
// shifted argv so that argv[0] names the program it was given.
bool LoaderIsTheProcess() { return getauxval(AT_BASE) == 0; }

std::filesystem::path RunningExecutable() {
  std::error_code ec;
  auto exe = LoaderIsTheProcess()
                 ? std::filesystem::canonical(program_invocation_name, ec)
                 : std::filesystem::canonical("/proc/self/exe", ec);
  if (ec) return {};
  return exe;
}

}  // namespace

MountTable ParseMountInfo(std::string_view mountinfo) {
  MountTable table;
  std::size_t start = 0;
  while (start < mountinfo.size()) {
    auto end = mountinfo.find('\n', start);
    if (end == std::string_view::npos) end = mountinfo.size();
    const std::string_view line = mountinfo.substr(start, end - start);
    start = end + 1;

    // Fields are separated by single spaces; the fifth is the mount point.
    std::string_view field = line;
    int n = 1;
    for (; n < 5; ++n) {
      const auto space = field.find(' ');
      if (space == std::string_view::npos) break;
      field.remove_prefix(space + 1);
    }
    if (n < 5) continue;
    // The type is the first field after the lone "-" that ends the optional fields.
    const auto dash = line.find(" - ");
    std::string type;
    if (dash != std::string_view::npos) {
      const std::string_view rest = line.substr(dash + 3);
      type = std::string(rest.substr(0, rest.find(' ')));
    }
    field = field.substr(0, field.find(' '));
    std::string point = WithoutTrailingSlashes(DecodeOctalEscapes(field));
    if (point.empty() || point[0] != '/') continue;
    const auto seen = std::find(table.mountPoints.begin(), table.mountPoints.end(), point);
    if (seen == table.mountPoints.end()) {
      table.mountPoints.push_back(std::move(point));
      table.fileSystems.push_back(std::move(type));
    } else {
      // A later mount on the same point hides the earlier one.
      table.fileSystems[seen - table.mountPoints.begin()] = std::move(type);
    }
  }
  if (std::find(table.mountPoints.begin(), table.mountPoints.end(), "/") ==
      table.mountPoints.end()) {
    table.mountPoints.insert(table.mountPoints.begin(), "/");
    table.fileSystems.insert(table.fileSystems.begin(), std::string());
  }
  return table;
}

MountTable ReadMountTable() {
  std::ifstream in("/proc/self/mountinfo", std::ios::binary);
  if (!in) return MountTable{{"/"}};
  std::ostringstream text;
  text << in.rdbuf();
  return ParseMountInfo(text.str());
}

std::string DriveOf(std::string_view path, const MountTable& mounts) {
  if (IsDriveLetterPath(path)) return std::string(path.substr(0, 2));
  const std::string native = NativePath(path);
  const std::string* best = nullptr;
  for (const auto& point : mounts.mountPoints) {
    if (point == "/") continue;  // the root file system is the empty drive
    if (best != nullptr && point.size() <= best->size()) continue;
    // A prefix only counts at a component boundary: "/media/a" does not hold "/media/ab".
    if (native.compare(0, point.size(), point) == 0 &&
        (native.size() == point.size() || native[point.size()] == '/')) {
      best = &point;
    }
  }
  return best ? *best : std::string();
}

std::string WithoutDrive(std::string_view path, const MountTable& mounts) {
  const std::size_t drive = DriveOf(path, mounts).size();
  return std::string(path.substr(std::min(drive, path.size())));
}

std::string JoinDriveAndLeft(std::string_view drive, std::string_view left) {
  std::string rest = NativePath(left);
  rest.erase(0, std::min(rest.find_first_not_of('/'), rest.size()));
  const std::string shown = IsDriveLetterPath(drive) ? UpperAscii(drive) : std::string(drive);
  return shown + "/" + rest;
}

std::string SplitLeft(std::string_view text, std::string_view drive, std::string_view shownLeft,
                      const MountTable& mounts) {
  if (text == JoinDriveAndLeft(drive, shownLeft)) return std::string(shownLeft);
  return WithoutDrive(text, mounts);
}

std::vector<std::string> DrivesToShow(const MountTable& mounts, std::string_view home,
                                      std::string_view always) {
  static constexpr std::string_view kPseudo[] = {
      "proc",  "sysfs",     "cgroup",  "cgroup2",    "devpts",      "devtmpfs", "mqueue",
      "debugfs", "tracefs", "securityfs", "pstore",  "bpf",         "configfs", "fusectl",
      "hugetlbfs", "autofs", "binfmt_misc", "efivarfs", "nsfs",     "rpc_pipefs"};
  static constexpr std::string_view kSystemFolders[] = {"/proc", "/sys", "/dev", "/run", "/snap"};
  auto below = [](std::string_view path, std::string_view folder) {
    return path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
  };
  std::vector<std::string> shown{"/"};
  auto add = [&shown](std::string point) {
    if (point.empty()) point = "/";
    if (std::find(shown.begin(), shown.end(), point) == shown.end()) shown.push_back(point);
  };
  for (std::size_t i = 0; i < mounts.mountPoints.size(); ++i) {
    const std::string& point = mounts.mountPoints[i];
    // Not a conditional of a string and "": its result would be a temporary the view outlives.
    std::string_view type;
    if (i < mounts.fileSystems.size()) type = mounts.fileSystems[i];
    if (std::find(std::begin(kPseudo), std::end(kPseudo), type) != std::end(kPseudo)) continue;
    const bool system = std::any_of(std::begin(kSystemFolders), std::end(kSystemFolders),
                                    [&](std::string_view f) { return below(point, f); });
    // Sticks and disks that the desktop mounts for the user live below /run/media.
    if (system && !below(point, "/run/media")) continue;
    add(point);
  }
  if (!home.empty()) add(WithoutTrailingSlashes(std::string(home)));
  add(std::string(always));
  std::sort(shown.begin(), shown.end());
  return shown;
}

std::string DriveRoot(std::string_view drive) {
  return drive.empty() ? "/" : WithTrailingSlash(drive);
}

std::string DriveForDisplay(std::string_view drive) {
  if (drive.empty()) return "/";
  if (drive.size() == 2 && IsDriveLetterPath(drive)) return UpperAscii(drive);
  return std::string(drive);
}

std::string ProgramFolder() {
  // Not LeeEntorno: a folder path may well be longer than its 254 characters.
  const char* home = std::getenv("TANDREL_HOME");
  if (home != nullptr && *home != '\0') return WithoutTrailingSlashes(NativePath(home));
  const auto exe = RunningExecutable();
  if (exe.empty()) return WithoutTrailingSlashes(std::filesystem::current_path().string());
  return WithoutTrailingSlashes(exe.parent_path().string());
}

std::string ExecutableBaseName() {
  const auto exe = RunningExecutable();
  if (exe.empty()) return "Tandrel";
  return exe.stem().string();
}

std::string NativePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string head = NativePath(folder);
  std::string tail = NativePath(name);
  while (!head.empty() && head.back() == '/') head.pop_back();
  const auto first = tail.find_first_not_of('/');
  tail = (first == std::string::npos) ? std::string() : tail.substr(first);
  if (tail.empty()) return head.empty() ? "/" : head;
  return head + "/" + tail;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string WithoutTrailingSlashes(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  return std::string(path);
}

std::string WithTrailingSlash(std::string_view path) {
  std::string out(path);
  if (!out.empty() && out.back() != '/') out.push_back('/');
  return out;
}

std::string ParentFolder(std::string_view path) {
  const std::string folder = WithoutTrailingSlashes(path);
  const auto slash = folder.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return folder.substr(0, slash);
}

std::string ComputerName() {
  std::string name = LeeEntorno("COMPUTERNAME");
  if (!name.empty()) return name;
  char host[HOST_NAME_MAX + 1] = {};
  if (gethostname(host, sizeof host) != 0) return {};
  host[HOST_NAME_MAX] = '\0';
  return host;
}

}  // namespace tandrel
