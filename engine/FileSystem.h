#pragma once
// The one seam through which the engine touches files and folders: listing, lookup, and the few
// calls a copy needs. The program uses PosixFileSystem; tests wrap it to inject faults.
//
// Every call returns 0 (or a count, or a descriptor) on success and -errno on failure; none throws.
// Paths are full native paths ("/" separators). Nothing here follows a symbolic link.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tandrel {

enum class EntryType : std::uint8_t { Unknown, File, Folder, Link, Other };

// A moment in UTC: seconds since 1970-01-01 00:00:00 and the nanoseconds within that second.
struct FileTime {
  std::int64_t sec = 0;
  std::uint32_t nsec = 0;
  friend bool operator==(const FileTime&, const FileTime&) = default;
};

// What a lookup tells about one entry, the link itself when the entry is a link.
struct FileInfo {
  EntryType type = EntryType::Unknown;
  std::uint64_t size = 0;
  FileTime modified;
  FileTime accessed;
  FileTime born;              // meaningful only when hasBirthTime
  bool hasBirthTime = false;  // the file system keeps a creation time for this entry
  std::uint32_t mode = 0;     // permission bits (07777)
  std::uint64_t device = 0;   // the file system that holds the entry (0 where not known)
};

struct FolderEntry {
  std::string name;
  // With details: the entry's full lookup. Without: only `type`, as the listing reports it
  // (EntryType::Unknown where the file system does not say).
  FileInfo info;
};

// Whether a failed listing or lookup means that the folder is simply not there: it holds nothing.
// Any other failure means it could not be read, and it may hold anything. That includes a file or
// a link found where a folder was listed a moment before (-ENOTDIR): the folder may have been
// moved elsewhere, and its files must not look deleted, here or to another computer.
inline bool MeansAbsent(int error) { return error == -ENOENT; }

enum class OpenFor : std::uint8_t {
  Reading,         // read only
  CreatingNew,     // write only; fails with -EEXIST when the name is taken
  CreatingOrTruncating,  // write only; an existing file is emptied
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The entries of a folder, "." and ".." left out, in the order the file system gives them.
  // withDetails asks for a full lookup of every entry (an entry that vanishes meanwhile keeps
  // EntryType::Unknown). entries is cleared first; on failure it may hold a part.
  [[nodiscard]] virtual int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries,
                                       bool withDetails) = 0;
  // One entry, not following a link.
  [[nodiscard]] virtual int Stat(const std::string& path, FileInfo& info) = 0;

  // A descriptor (>= 0) or -errno. mode applies to a file created.
  [[nodiscard]] virtual int Open(const std::string& path, OpenFor how, std::uint32_t mode) = 0;
  // Bytes read (0 at the end) or written, or -errno; a write may be short.
  [[nodiscard]] virtual std::int64_t Read(int fd, void* buffer, std::size_t size) = 0;
  [[nodiscard]] virtual std::int64_t Write(int fd, const void* buffer, std::size_t size) = 0;
  [[nodiscard]] virtual int Fsync(int fd) = 0;
  virtual int Close(int fd) = 0;

  // Replaces `to` when it exists (both on one file system).
  [[nodiscard]] virtual int Rename(const std::string& from, const std::string& to) = 0;
  [[nodiscard]] virtual int Unlink(const std::string& path) = 0;
  [[nodiscard]] virtual int MakeFolder(const std::string& path, std::uint32_t mode) = 0;
  [[nodiscard]] virtual int ChangeMode(const std::string& path, std::uint32_t mode) = 0;
  // Last-access and last-write time, nanoseconds kept; a link's own times, never its target's.
  [[nodiscard]] virtual int SetTimes(const std::string& path, FileTime accessed,
                                     FileTime modified) = 0;
  // Flushes the whole file system that holds path.
  [[nodiscard]] virtual int SyncFileSystem(const std::string& path) = 0;

  // What a copy may do with fewer calls where the file system allows it. Each returns
  // -EOPNOTSUPP here, and the copy then does without: a file system that wraps another keeps the
  // plain calls (and so the faults it injects on them) unless it passes these on as well.
  //
  // A file with no name in folder, open for writing, with permission bits mode: nothing of it is
  // seen under any name until LinkUnnamed, and a copy cut short leaves nothing behind at all.
  [[nodiscard]] virtual int OpenUnnamed(const std::string& folder, std::uint32_t mode);
  // Gives the unnamed file of fd the name path; -EEXIST when the name is taken (never replaces).
  [[nodiscard]] virtual int LinkUnnamed(int fd, const std::string& path);
  // Up to size bytes from one descriptor to the other inside the kernel; the count (0 at the end
  // of from) or -errno.
  [[nodiscard]] virtual std::int64_t CopyRange(int from, int to, std::size_t size);
  // SetTimes, ChangeMode and Stat on an open file.
  [[nodiscard]] virtual int SetTimesOf(int fd, FileTime accessed, FileTime modified);
  [[nodiscard]] virtual int ChangeModeOf(int fd, std::uint32_t mode);
  [[nodiscard]] virtual int StatOf(int fd, FileInfo& info);
};

// The system's description of an error given as -errno or errno ("No such file or directory").
std::string ErrorText(int error);

}  // namespace tandrel
