#pragma once
// A file system that passes every call on to another one (the real one, as a rule) and misbehaves
// on demand: a call fails with a chosen error, the device under a path vanishes (every later call
// there fails with EIO, as when a stick is pulled out), or the process ends before a call (to stop
// a run at an exact point). It can also record the calls in order, and keep the times of a folder
// as a FAT stick does (to the even second).
//
//   PosixFileSystem real;
//   FaultInjectingFileSystem fs(real);
//   fs.Arm({.n = 2, .op = FsOp::Write, .error = ENOSPC});  // the second write from now fails
//   fs.Arm({.op = FsOp::Rename, .gone = stick});           // the stick goes at the first rename
//   fs.Arm({.n = 40, .exits = true});                      // _exit instead of call 40
//   fs.RoundTimes(stick);                                  // times there go down to even seconds
#include <cerrno>
#include <cstdint>
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

inline constexpr int kKilledExitCode = 99;

class FaultInjectingFileSystem : public FileSystem {
 public:
  struct Call {
    FsOp op;
    std::string path;  // for calls on a descriptor, the path it was opened with
    std::int64_t result;
  };
  // One fault. It watches the calls of kind op (every kind when none) on a path that contains
  // pathPart (either path of a rename; every path when empty), counted from when it is armed, and
  // strikes at the n-th of them: that call and the times - 1 watched calls after it fail with
  // -error without reaching the inner file system. With gone, every call from then on below that
  // prefix, or on a descriptor opened there, fails with -EIO instead (descriptors are still
  // closed). With exits, the process ends at once before the call: nothing is flushed and no
  // destructor runs, as when the machine stops the program.
  struct Fault {
    std::uint64_t n = 1;
    std::optional<FsOp> op{};
    std::string pathPart{};
    int error = EIO;
    std::uint64_t times = 1;
    std::string gone{};
    bool exits = false;
    std::uint64_t seen = 0;
  };

  explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

  void Arm(Fault fault) { faults_.push_back(std::move(fault)); }
  // Every listing of folder (a full path, with or without its trailing "/") returns error (a
  // -errno), whoever runs the test (root reads a chmod 000 folder all the same).
  void FailListing(std::string folder, int error) {
    listingFailures_[Normal(std::move(folder))] = error;
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
  void ClearFaults() {
    faults_.clear();
    listingFailures_.clear();
  }
  // Fsync and SyncFileSystem succeed without reaching the disk: for tests that stop the process,
  // whose written data the kernel keeps anyway.
  void SkipFlushes(bool skip) { skipFlushes_ = skip; }

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
  // Counts the call and injects its fault, or passes it on; records the result.
  template <typename Pass>
  auto Do(FsOp op, const std::string& path, Pass pass, const std::string& second = {})
      -> decltype(pass());
  int Injected(FsOp op, const std::string& path, const std::string& second);
  std::string PathOf(int fd) const {
    const auto it = open_.find(fd);
    return it == open_.end() ? std::string() : it->second;
  }
  bool Rounds(const std::string& path) const {
    return !roundPrefix_.empty() && path.starts_with(roundPrefix_);
  }
  static std::string Normal(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  FileTime Rounded(FileTime time) const;
  void RoundInfo(FileInfo& info) const {
    info.modified = Rounded(info.modified);
    info.accessed = Rounded(info.accessed);
  }

  FileSystem& inner_;
  std::vector<Fault> faults_;
  std::map<std::string, int> listingFailures_;
  std::string roundPrefix_;
  std::int64_t grain_ = 2;
  bool roundUp_ = false;
  std::map<int, std::string> open_;
  bool skipFlushes_ = false;
  bool recording_ = false;
  std::vector<Call> journal_;
};

}  // namespace tandrel::test
