#pragma once
// The file-system seam over the POSIX calls (statx, openat, utimensat, syncfs), with Linux's
// unnamed files (O_TMPFILE, linkat) and in-kernel copies (copy_file_range): the one the program
// uses.
#include "engine/FileSystem.h"

namespace tandrel {

class PosixFileSystem : public FileSystem {
 public:
  int ListFolder(const std::string& folder, std::vector<FolderEntry>& entries,
                 bool withDetails) override;
  int Stat(const std::string& path, FileInfo& info) override;
  int Open(const std::string& path, OpenFor how, std::uint32_t mode) override;
  std::int64_t Read(int fd, void* buffer, std::size_t size) override;
  std::int64_t Write(int fd, const void* buffer, std::size_t size) override;
  int Fsync(int fd) override;
  int Close(int fd) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Unlink(const std::string& path) override;
  int MakeFolder(const std::string& path, std::uint32_t mode) override;
  int ChangeMode(const std::string& path, std::uint32_t mode) override;
  int SetTimes(const std::string& path, FileTime accessed, FileTime modified) override;
  int SyncFileSystem(const std::string& path) override;
  int OpenUnnamed(const std::string& folder, std::uint32_t mode) override;
  int LinkUnnamed(int fd, const std::string& path) override;
  std::int64_t CopyRange(int from, int to, std::size_t size) override;
  int SetTimesOf(int fd, FileTime accessed, FileTime modified) override;
  int ChangeModeOf(int fd, std::uint32_t mode) override;
  int StatOf(int fd, FileInfo& info) override;
};

}  // namespace tandrel
