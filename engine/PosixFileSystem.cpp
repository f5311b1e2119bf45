#include "engine/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace tandrel {

namespace {

constexpr unsigned kStatMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME | STATX_MTIME |
                               STATX_BTIME;
// AT_NO_AUTOMOUNT: a lookup must never mount a network share just because its name was listed.
constexpr int kStatFlags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

EntryType TypeOfMode(unsigned mode) {
  switch (mode & S_IFMT) {
    case S_IFREG: return EntryType::File;
    case S_IFDIR: return EntryType::Folder;
    case S_IFLNK: return EntryType::Link;
    default: return EntryType::Other;
  }
}

EntryType TypeOfDirent(unsigned char type) {
  switch (type) {
    case DT_REG: return EntryType::File;
    case DT_DIR: return EntryType::Folder;
    case DT_LNK: return EntryType::Link;
    case DT_UNKNOWN: return EntryType::Unknown;
    default: return EntryType::Other;
  }
}

void FillInfo(const struct statx& st, FileInfo& info) {
  info.type = TypeOfMode(st.stx_mode);
  info.size = st.stx_size;
  info.modified = {st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec};
  info.accessed = {st.stx_atime.tv_sec, st.stx_atime.tv_nsec};
  info.hasBirthTime = (st.stx_mask & STATX_BTIME) != 0;
  info.born = info.hasBirthTime ? FileTime{st.stx_btime.tv_sec, st.stx_btime.tv_nsec} : FileTime{};
  info.mode = st.stx_mode & 07777;
  info.device = makedev(st.stx_dev_major, st.stx_dev_minor);
}

int StatAt(int dirfd, const char* path, FileInfo& info) {
  struct statx st;
  if (statx(dirfd, path, kStatFlags, kStatMask, &st) != 0) return -errno;
  FillInfo(st, info);
  return 0;
}

void FillTimes(FileTime accessed, FileTime modified, struct timespec (&times)[2]) {
  times[0].tv_sec = static_cast<time_t>(accessed.sec);
  times[0].tv_nsec = static_cast<long>(accessed.nsec);
  times[1].tv_sec = static_cast<time_t>(modified.sec);
  times[1].tv_nsec = static_cast<long>(modified.nsec);
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

std::string ErrorText(int error) {
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not be in buffer.
  return strerror_r(error < 0 ? -error : error, buffer, sizeof buffer);
}

int PosixFileSystem::ListFolder(const std::string& folder, std::vector<FolderEntry>& entries,
                                bool withDetails) {
  entries.clear();
  // The folder named may itself be reached through a link (a task folder may be one); what is
  // inside it is only reported, never followed.
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return -errno;
  DIR* dir = ::fdopendir(fd);
  if (dir == nullptr) {
    int error = -errno;
    ::close(fd);
    return error;
  }
  int result = 0;
  for (;;) {
    errno = 0;
    struct dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      result = -errno;
      break;
    }
    if (IsDotOrDotDot(entry->d_name)) continue;
    FolderEntry& item = entries.emplace_back();
    item.name = entry->d_name;
    if (withDetails) {
      // An entry removed between the listing and its lookup stays Unknown.
      if (StatAt(fd, entry->d_name, item.info) != 0) item.info = FileInfo{};
    } else {
      item.info.type = TypeOfDirent(entry->d_type);
    }
  }
  ::closedir(dir);
  return result;
}

int PosixFileSystem::Stat(const std::string& path, FileInfo& info) {
  return StatAt(AT_FDCWD, path.c_str(), info);
}

int PosixFileSystem::Open(const std::string& path, OpenFor how, std::uint32_t mode) {
  // O_NOFOLLOW: a copy never reads or writes through a link that took a file's place.
  int flags = O_CLOEXEC | O_NOFOLLOW;
  switch (how) {
    case OpenFor::Reading: flags |= O_RDONLY; break;
    case OpenFor::CreatingNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    case OpenFor::CreatingOrTruncating: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, static_cast<mode_t>(mode));
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? -errno : fd;
}

std::int64_t PosixFileSystem::Read(int fd, void* buffer, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(fd, buffer, size);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -errno : n;
}

std::int64_t PosixFileSystem::Write(int fd, const void* buffer, std::size_t size) {
  ssize_t n;
  do {
    n = ::write(fd, buffer, size);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -errno : n;
}

int PosixFileSystem::Fsync(int fd) { return ::fsync(fd) != 0 ? -errno : 0; }

// No retry on EINTR: on Linux the descriptor is gone whatever close reports.
int PosixFileSystem::Close(int fd) { return ::close(fd) != 0 ? -errno : 0; }

int PosixFileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) != 0 ? -errno : 0;
}

int PosixFileSystem::Unlink(const std::string& path) {
  return ::unlink(path.c_str()) != 0 ? -errno : 0;
}

int PosixFileSystem::MakeFolder(const std::string& path, std::uint32_t mode) {
  return ::mkdir(path.c_str(), static_cast<mode_t>(mode)) != 0 ? -errno : 0;
}

int PosixFileSystem::ChangeMode(const std::string& path, std::uint32_t mode) {
  return ::fchmodat(AT_FDCWD, path.c_str(), static_cast<mode_t>(mode), AT_SYMLINK_NOFOLLOW) != 0
             ? -errno
             : 0;
}

int PosixFileSystem::SetTimes(const std::string& path, FileTime accessed, FileTime modified) {
  struct timespec times[2];
  FillTimes(accessed, modified, times);
  return ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0 ? -errno : 0;
}

int PosixFileSystem::SyncFileSystem(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -errno;
  int result = ::syncfs(fd) != 0 ? -errno : 0;
  ::close(fd);
  return result;
}

int PosixFileSystem::OpenUnnamed(const std::string& folder, std::uint32_t mode) {
  int fd;
  do {
    fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(mode));
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? -errno : fd;
}

int PosixFileSystem::LinkUnnamed(int fd, const std::string& path) {
  // Through /proc the link needs no privilege; AT_EMPTY_PATH needs CAP_DAC_READ_SEARCH, and is
  // only the way left where /proc is not mounted.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno != ENOENT || ::access("/proc/self/fd", F_OK) == 0) return -errno;
  return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) != 0 ? -errno : 0;
}

std::int64_t PosixFileSystem::CopyRange(int from, int to, std::size_t size) {
  ssize_t n;
  do {
    n = ::copy_file_range(from, nullptr, to, nullptr, size, 0);
  } while (n < 0 && errno == EINTR);
  return n < 0 ? -errno : n;
}

int PosixFileSystem::SetTimesOf(int fd, FileTime accessed, FileTime modified) {
  struct timespec times[2];
  FillTimes(accessed, modified, times);
  return ::futimens(fd, times) != 0 ? -errno : 0;
}

int PosixFileSystem::ChangeModeOf(int fd, std::uint32_t mode) {
  return ::fchmod(fd, static_cast<mode_t>(mode)) != 0 ? -errno : 0;
}

int PosixFileSystem::StatOf(int fd, FileInfo& info) {
  struct statx st;
  if (statx(fd, "", AT_EMPTY_PATH | AT_NO_AUTOMOUNT, kStatMask, &st) != 0) return -errno;
  FillInfo(st, info);
  return 0;
}

}  // namespace tandrel
