#pragma once
// A file system that passes every call on to another one (the real one, as a rule) and misbehaves
// on demand: the n-th call of a kind fails with a chosen error, the device under a path vanishes
// (every later call there fails with EIO, as when a stick is pulled out), or the process ends
// before the n-th call (to stop a run at an exact point). It can also record the calls in order,
// and keep the times of a folder as a FAT stick does (to the even second).
//
//   PosixFileSystem real;
//   FaultInjectingFileSystem fs(real);
//   fs.FailAt(2, ENOSPC, FsOp::Write);      // the second write fails
//   fs.VanishAt(fs.Calls() + 10, stick);    // ten calls from now the stick is gone
//   fs.ExitAt(40);                          // _exit(kKilledExitCode) instead of call 40
//   fs.VanishAt(1, stick, FsOp::Rename);    // the stick is gone from the first rename on
//   fs.RoundTimes(stick);                   // times there go down to the even second
//
// Calls are counted from 1 over every kind; FailAt counts only the calls that match it.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/FileSystem.h"

namespace tandrel::test {

enum class FsOp : std::uint8_t {
  ListFolder, Stat, Open, Read, Write, Fsync, Close, Rename, Unlink, MakeFolder, ChangeMode,
  SetTimes, SyncFileSystem
};
const char* FsOpName(FsOp op);

inline constexpr int kKilledExitCode = 99;

class FaultInjectingFileSystem : public FileSystem {
 public:
  struct Call {
    FsOp op;
    std::string path;  // for calls on a descriptor, the path it was opened with
    std::int64_t result;
  };

  explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

  // The n-th call (from 1) of kind op (any kind when none) whose path contains pathPart (any path
  // when empty) fails with -error, without reaching the inner file system.
  void FailAt(std::uint64_t n, int error, std::optional<FsOp> op = {}, std::string pathPart = {}) {
    failures_.push_back({n, error, op, std::move(pathPart)});
  }
  // Every listing of folder (a full path, with or without its trailing "/") fails with -error,
  // whoever runs the test (root reads a chmod 000 folder all the same).
  void FailListing(std::string folder, int error) { listingFailures_[Normal(std::move(folder))] = error; }
  // From call n on, every call on a path that begins with pathPrefix, or on a descriptor opened
  // there, fails with -EIO. Descriptors are still closed. Calls are counted overall, or only those
  // of kind op on a path containing pathPart when given (FailAt's way).
  void VanishAt(std::uint64_t n, std::string pathPrefix, std::optional<FsOp> op = {},
                std::string pathPart = {}) {
    vanish_ = Failure{n, EIO, op, std::move(pathPart)};
    vanishPrefix_ = std::move(pathPrefix);
  }
  // Below pathPrefix the file system keeps last-write and last-access times to the even second
  // only, rounded down, as FAT does: SetTimes stores them so, and Stat and detailed listings read
  // them back so (also those of files made before, which the test gave odd seconds). Another grain
  // in seconds, or rounding up, stands for a file system that keeps times coarser than FAT.
  void RoundTimes(std::string pathPrefix, std::int64_t grain = 2, bool up = false) {
    roundPrefix_ = std::move(pathPrefix);
    grain_ = grain;
    roundUp_ = up;
  }
  // Before overall call n, ends the process at once with _exit(kKilledExitCode): nothing is
  // flushed and no destructor runs, as when the machine stops the program.
  void ExitAt(std::uint64_t n) { exitAt_ = n; }
  void ClearFaults();
  // Called before every call is carried out (to change the world at an exact point of a run:
  // free a disk, say). An empty function removes it.
  void Watch(std::function<void(FsOp op, const std::string& path)> watcher) {
    watcher_ = std::move(watcher);
  }
  // Fsync and SyncFileSystem succeed without reaching the disk (still counted): for tests that
  // stop the process, whose written data the kernel keeps anyway.
  void SkipFlushes(bool skip) { skipFlushes_ = skip; }

  std::uint64_t Calls() const { return calls_; }
  void Record(bool on) { recording_ = on; }
  const std::vector<Call>& Journal() const { return journal_; }

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

 private:
  struct Failure {
    std::uint64_t n;
    int error;
    std::optional<FsOp> op;
    std::string pathPart;
    std::uint64_t seen = 0;
    // Counts the call when it is of the kind and path the failure watches; true on its n-th.
    bool Counts(FsOp kind, const std::string& path, const std::string& second);
  };

  // Counts the call and injects its fault, or passes it on; records the result.
  template <typename Pass>
  auto Do(FsOp op, const std::string& path, Pass pass, const std::string& second = {})
      -> decltype(pass());
  int Fault(FsOp op, const std::string& path, const std::string& second);
  std::string PathOf(int fd) const;
  bool Rounds(const std::string& path) const;
  static std::string Normal(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  FileTime Rounded(FileTime time) const;
  void RoundInfo(FileInfo& info) const;

  FileSystem& inner_;
  std::uint64_t calls_ = 0;
  std::vector<Failure> failures_;
  std::optional<Failure> vanish_;
  bool vanished_ = false;
  std::string vanishPrefix_;
  std::map<std::string, int> listingFailures_;
  std::string roundPrefix_;
  std::int64_t grain_ = 2;
  bool roundUp_ = false;
  std::optional<std::uint64_t> exitAt_;
  std::map<int, std::string> open_;
  std::function<void(FsOp, const std::string&)> watcher_;
  bool skipFlushes_ = false;
  bool recording_ = false;
  std::vector<Call> journal_;
};

}  // namespace tandrel::test
