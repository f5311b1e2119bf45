#include "tests/support/FaultyFileSystem.h"

#include <unistd.h>

namespace tandrel::test {

FileTime FaultInjectingFileSystem::Rounded(FileTime time) const {
  // Down, also before 1970: -1 s goes to -2 s.
  const std::int64_t down = time.sec - ((time.sec % grain_) + grain_) % grain_;
  const bool exact = down == time.sec && time.nsec == 0;
  return {roundUp_ && !exact ? down + grain_ : down, 0};
}

int FaultInjectingFileSystem::Injected(FsOp op, const std::string& path,
                                       const std::string& second) {
  const auto has = [&](const std::string& part) {
    return path.find(part) != std::string::npos || second.find(part) != std::string::npos;
  };
  const auto under = [&](const std::string& prefix) {
    return path.starts_with(prefix) || (!second.empty() && second.starts_with(prefix));
  };
  // Every fault counts the calls it watches, so that faults armed together keep their own count.
  int injected = 0;
  for (Fault& fault : faults_) {
    const bool watched = (!fault.op || *fault.op == op) && has(fault.pathPart);
    fault.seen += watched ? 1 : 0;
    if (fault.seen < fault.n) continue;
    if (watched && fault.exits) _exit(kKilledExitCode);
    const bool strikes = fault.gone.empty() ? watched && fault.seen < fault.n + fault.times
                                            : !path.empty() && under(fault.gone);
    if (strikes && injected == 0) injected = fault.gone.empty() ? -fault.error : -EIO;
  }
  return injected;
}

template <typename Pass>
auto FaultInjectingFileSystem::Do(FsOp op, const std::string& path, Pass pass,
                                  const std::string& second) -> decltype(pass()) {
  const int fault = Injected(op, path, second);
  const auto result = fault != 0 ? static_cast<decltype(pass())>(fault) : pass();
  if (recording_) journal_.push_back({op, path, static_cast<std::int64_t>(result)});
  return result;
}

int FaultInjectingFileSystem::ListFolder(const std::string& folder,
                                         std::vector<FolderEntry>& entries, bool withDetails) {
  entries.clear();
  return Do(FsOp::ListFolder, folder, [&] {
    if (const auto it = listingFailures_.find(Normal(folder)); it != listingFailures_.end()) {
      return it->second;
    }
    const int result = inner_.ListFolder(folder, entries, withDetails);
    if (withDetails && Rounds(folder)) {
      for (auto& entry : entries) RoundInfo(entry.info);
    }
    return result;
  });
}

int FaultInjectingFileSystem::Stat(const std::string& path, FileInfo& info) {
  return Do(FsOp::Stat, path, [&] {
    const int result = inner_.Stat(path, info);
    if (result == 0 && Rounds(path)) RoundInfo(info);
    return result;
  });
}

int FaultInjectingFileSystem::Open(const std::string& path, OpenFor how, std::uint32_t mode) {
  return Do(FsOp::Open, path, [&] {
    const int fd = inner_.Open(path, how, mode);
    if (fd >= 0) open_[fd] = path;
    return fd;
  });
}

std::int64_t FaultInjectingFileSystem::Read(int fd, void* buffer, std::size_t size) {
  return Do(FsOp::Read, PathOf(fd), [&] { return inner_.Read(fd, buffer, size); });
}

std::int64_t FaultInjectingFileSystem::Write(int fd, const void* buffer, std::size_t size) {
  return Do(FsOp::Write, PathOf(fd), [&] { return inner_.Write(fd, buffer, size); });
}

int FaultInjectingFileSystem::Fsync(int fd) {
  return Do(FsOp::Fsync, PathOf(fd), [&] { return skipFlushes_ ? 0 : inner_.Fsync(fd); });
}

int FaultInjectingFileSystem::Close(int fd) {
  // The descriptor goes whatever is injected: a vanished device still releases it.
  const int closed = inner_.Close(fd);
  const std::string path = PathOf(fd);
  open_.erase(fd);
  return Do(FsOp::Close, path, [&] { return closed; });
}

int FaultInjectingFileSystem::Rename(const std::string& from, const std::string& to) {
  return Do(FsOp::Rename, from, [&] { return inner_.Rename(from, to); }, to);
}

int FaultInjectingFileSystem::Unlink(const std::string& path) {
  return Do(FsOp::Unlink, path, [&] { return inner_.Unlink(path); });
}

int FaultInjectingFileSystem::MakeFolder(const std::string& path, std::uint32_t mode) {
  return Do(FsOp::MakeFolder, path, [&] { return inner_.MakeFolder(path, mode); });
}

int FaultInjectingFileSystem::ChangeMode(const std::string& path, std::uint32_t mode) {
  return Do(FsOp::ChangeMode, path, [&] { return inner_.ChangeMode(path, mode); });
}

int FaultInjectingFileSystem::SetTimes(const std::string& path, FileTime accessed,
                                       FileTime modified) {
  return Do(FsOp::SetTimes, path, [&] {
    return Rounds(path) ? inner_.SetTimes(path, Rounded(accessed), Rounded(modified))
                        : inner_.SetTimes(path, accessed, modified);
  });
}

int FaultInjectingFileSystem::SyncFileSystem(const std::string& path) {
  return Do(FsOp::SyncFileSystem, path,
            [&] { return skipFlushes_ ? 0 : inner_.SyncFileSystem(path); });
}

}  // namespace tandrel::test
