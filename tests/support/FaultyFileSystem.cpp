#include "tests/support/FaultyFileSystem.h"

#include <unistd.h>

#include <cerrno>

namespace tandrel::test {

const char* FsOpName(FsOp op) {
  static const char* const kNames[] = {"ListFolder", "Stat",       "Open",       "Read",
                                       "Write",      "Fsync",      "Close",      "Rename",
                                       "Unlink",     "MakeFolder", "ChangeMode", "SetTimes",
                                       "SyncFileSystem"};
  return kNames[static_cast<int>(op)];
}

void FaultInjectingFileSystem::FailAt(std::uint64_t n, int error, std::optional<FsOp> op,
                                      std::string pathPart) {
  failures_.push_back({n, error, op, std::move(pathPart)});
}

void FaultInjectingFileSystem::VanishAt(std::uint64_t n, std::string pathPrefix) {
  vanishAt_ = n;
  vanishPrefix_ = std::move(pathPrefix);
}

void FaultInjectingFileSystem::ClearFaults() {
  failures_.clear();
  vanishAt_.reset();
  exitAt_.reset();
}

std::size_t FaultInjectingFileSystem::Count(FsOp op) const {
  std::size_t count = 0;
  for (const auto& call : journal_) count += call.op == op ? 1 : 0;
  return count;
}

const std::string& FaultInjectingFileSystem::PathOf(int fd) const {
  static const std::string kNone;
  const auto it = open_.find(fd);
  return it == open_.end() ? kNone : it->second;
}

int FaultInjectingFileSystem::Before(FsOp op, const std::string& path, const std::string& second) {
  ++calls_;
  if (exitAt_ && calls_ >= *exitAt_) _exit(kKilledExitCode);
  if (vanishAt_ && calls_ >= *vanishAt_) {
    const auto under = [&](const std::string& p) {
      return !p.empty() && p.compare(0, vanishPrefix_.size(), vanishPrefix_) == 0;
    };
    if (under(path) || under(second)) return -EIO;
  }
  // Every matching failure counts the call, so that "the first, second and third write" can be
  // armed as three failures.
  int injected = 0;
  for (auto& failure : failures_) {
    if (failure.op && *failure.op != op) continue;
    if (!failure.pathPart.empty() && path.find(failure.pathPart) == std::string::npos &&
        second.find(failure.pathPart) == std::string::npos) {
      continue;
    }
    if (++failure.seen == failure.n && injected == 0) injected = -failure.error;
  }
  return injected;
}

std::int64_t FaultInjectingFileSystem::After(FsOp op, const std::string& path,
                                             std::int64_t result) {
  if (recording_) journal_.push_back({op, path, result});
  return result;
}

int FaultInjectingFileSystem::ListFolder(const std::string& folder,
                                         std::vector<FolderEntry>& entries, bool withDetails) {
  if (const int fault = Before(FsOp::ListFolder, folder); fault != 0) {
    entries.clear();
    return static_cast<int>(After(FsOp::ListFolder, folder, fault));
  }
  return static_cast<int>(
      After(FsOp::ListFolder, folder, inner_.ListFolder(folder, entries, withDetails)));
}

int FaultInjectingFileSystem::Stat(const std::string& path, FileInfo& info) {
  const int fault = Before(FsOp::Stat, path);
  return static_cast<int>(After(FsOp::Stat, path, fault != 0 ? fault : inner_.Stat(path, info)));
}

int FaultInjectingFileSystem::Open(const std::string& path, OpenFor how, std::uint32_t mode) {
  if (const int fault = Before(FsOp::Open, path); fault != 0) {
    return static_cast<int>(After(FsOp::Open, path, fault));
  }
  const int fd = inner_.Open(path, how, mode);
  if (fd >= 0) open_[fd] = path;
  return static_cast<int>(After(FsOp::Open, path, fd));
}

std::int64_t FaultInjectingFileSystem::Read(int fd, void* buffer, std::size_t size) {
  const std::string& path = PathOf(fd);
  const int fault = Before(FsOp::Read, path);
  return After(FsOp::Read, path, fault != 0 ? fault : inner_.Read(fd, buffer, size));
}

std::int64_t FaultInjectingFileSystem::Write(int fd, const void* buffer, std::size_t size) {
  const std::string& path = PathOf(fd);
  const int fault = Before(FsOp::Write, path);
  return After(FsOp::Write, path, fault != 0 ? fault : inner_.Write(fd, buffer, size));
}

int FaultInjectingFileSystem::Fsync(int fd) {
  const std::string& path = PathOf(fd);
  const int fault = Before(FsOp::Fsync, path);
  return static_cast<int>(
      After(FsOp::Fsync, path, fault != 0 ? fault : skipFlushes_ ? 0 : inner_.Fsync(fd)));
}

int FaultInjectingFileSystem::Close(int fd) {
  const std::string path = PathOf(fd);
  const int fault = Before(FsOp::Close, path);
  // The descriptor goes whatever is injected: a vanished device still releases it.
  const int result = inner_.Close(fd);
  open_.erase(fd);
  return static_cast<int>(After(FsOp::Close, path, fault != 0 ? fault : result));
}

int FaultInjectingFileSystem::Rename(const std::string& from, const std::string& to) {
  const int fault = Before(FsOp::Rename, from, to);
  return static_cast<int>(After(FsOp::Rename, to, fault != 0 ? fault : inner_.Rename(from, to)));
}

int FaultInjectingFileSystem::Unlink(const std::string& path) {
  const int fault = Before(FsOp::Unlink, path);
  return static_cast<int>(After(FsOp::Unlink, path, fault != 0 ? fault : inner_.Unlink(path)));
}

int FaultInjectingFileSystem::MakeFolder(const std::string& path, std::uint32_t mode) {
  const int fault = Before(FsOp::MakeFolder, path);
  return static_cast<int>(
      After(FsOp::MakeFolder, path, fault != 0 ? fault : inner_.MakeFolder(path, mode)));
}

int FaultInjectingFileSystem::ChangeMode(const std::string& path, std::uint32_t mode) {
  const int fault = Before(FsOp::ChangeMode, path);
  return static_cast<int>(
      After(FsOp::ChangeMode, path, fault != 0 ? fault : inner_.ChangeMode(path, mode)));
}

int FaultInjectingFileSystem::SetTimes(const std::string& path, FileTime accessed,
                                       FileTime modified) {
  const int fault = Before(FsOp::SetTimes, path);
  return static_cast<int>(After(FsOp::SetTimes, path,
                                fault != 0 ? fault : inner_.SetTimes(path, accessed, modified)));
}

int FaultInjectingFileSystem::SyncFileSystem(const std::string& path) {
  const int fault = Before(FsOp::SyncFileSystem, path);
  return static_cast<int>(After(FsOp::SyncFileSystem, path,
                                fault != 0 ? fault : skipFlushes_ ? 0 : inner_.SyncFileSystem(path)));
}

}  // namespace tandrel::test
