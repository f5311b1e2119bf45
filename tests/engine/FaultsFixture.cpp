#include "tests/engine/FaultsFixture.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "engine/FileSystem.h"
#include "engine/RunFolders.h"
#include "engine/TempNames.h"
#include "store/Sqlite.h"

namespace tandrel::test {

TmpfsMount::TmpfsMount(std::string where, const char* size) : where_(std::move(where)) {
  const std::string options = std::string("size=") + size;
  if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    error_ = "cannot mount a tmpfs on " + where_ + ": " + ErrorText(errno);
  }
}

std::string TmpfsMount::Remount(bool readOnly) {
  const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
  if (::mount("tmpfs", where_.c_str(), "tmpfs", flags, nullptr) != 0) {
    return "cannot remount " + where_ + ": " + ErrorText(errno);
  }
  return {};
}

void TmpfsMount::Unmount() {
  // Detached: a descriptor a failed test left open must not keep the mount in the way.
  if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  mounted_ = false;
}

std::string SetImmutable(const std::string& path, bool on) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ErrorText(errno);
  int flags = 0;
  std::string error;
  if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
    error = "the file system keeps no file flags: " + ErrorText(errno);
  } else {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    if (::ioctl(fd, FS_IOC_SETFLAGS, &flags) != 0) {
      error = "cannot set the immutable flag: " + ErrorText(errno);
    }
  }
  ::close(fd);
  return error;
}

void ExpectWhole(const Names& tree, const Names& before, const Names& after, const char* side) {
  for (const auto& [name, content] : tree) {
    if (IsTempCopyName(std::filesystem::path(name).filename().string())) continue;
    const auto was = before.find(name);
    const auto will = after.find(name);
    const bool whole = (was != before.end() && was->second == content) ||
                       (will != after.end() && will->second == content);
    EXPECT_TRUE(whole) << side << " " << name << " is cut (" << content.size() << " bytes)";
  }
  for (const auto& [name, content] : before) {
    if (after.count(name) != 0) {
      EXPECT_EQ(tree.count(name), 1u) << side << " lost " << name;
    }
  }
}

CommitMarks::CommitMarks(sqlite3* db, const FaultInjectingFileSystem& fs) : db_(db), fs_(fs) {
  sqlite3_commit_hook(
      db_,
      [](void* self) {
        auto* marks = static_cast<CommitMarks*>(self);
        marks->at_.push_back(marks->fs_.Journal().size());
        return 0;  // let it commit
      },
      this);
}

namespace {

std::uint64_t DeviceOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_dev : 0;
}

}  // namespace

int ExpectFlushedBeforeEachCommit(const std::vector<FaultInjectingFileSystem::Call>& calls,
                                  const std::vector<std::size_t>& commits) {
  int changes = 0;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    const auto& call = calls[i];
    const std::string name = call.path.substr(call.path.rfind('/') + 1);
    const bool changesDisk = call.result == 0 &&
                             (call.op == FsOp::Rename || call.op == FsOp::Unlink ||
                              (call.op == FsOp::SetTimes && !IsTempCopyName(name)));
    if (!changesDisk) continue;
    ++changes;
    const auto commit = std::upper_bound(commits.begin(), commits.end(), i);
    if (commit == commits.end()) continue;  // no row after it can say anything of it
    const std::uint64_t device = DeviceOf(ParentFolder(call.path));
    bool flushed = false;
    for (std::size_t j = i + 1; j < *commit; ++j) {
      flushed = flushed || (calls[j].op == FsOp::SyncFileSystem && calls[j].result == 0 &&
                            DeviceOf(calls[j].path) == device);
    }
    EXPECT_TRUE(flushed) << FsOpName(call.op) << " " << call.path << " (call " << i
                         << ") is not flushed before the commit at call " << *commit;
  }
  return changes;
}

namespace {

struct PlannedFile {
  const char* name;
  const char* usb;  // content, or none
  std::int64_t usbTime;
  const char* pc;
  std::int64_t pcTime;
  char known;  // the snapshot's row: of the 'U'SB or 'P'C copy, 'O'lder than both, or none
  const char* code;
};

const PlannedFile kEveryAction[] = {
    {"New.txt", "new on the stick", kMonday, nullptr, 0, 0, "C1"},
    {"Blocked.txt", "cannot be read", kMonday, nullptr, 0, 0, "C1"},
    // Into a folder to be made, from an odd second.
    {"Sub/Back.txt", nullptr, 0, "new on the pc", kMonday + 1, 0, "C2"},
    {"Up.txt", "stick v2", kTuesday, "v1", kMonday, 'P', "A2"},
    {"Down.txt", "v1", kMonday, "pc v2", kTuesday + 1, 'U', "A1"},
    {"Deleted1.txt", "x", kMonday, nullptr, 0, 'U', "X1"},
    {"Deleted2.txt", nullptr, 0, "x", kMonday, 'P', "X2"},
    {"Same.txt", "same", kMonday, "same", kMonday, 'P', "ZZ"},
    {"Both.txt", "stick's edit", kTuesday, "pc's edit", kMonday, 'O', "!2"},  // left alone
    {"Mounted/Inner.txt", "other device", kMonday, nullptr, 0, 0, "C1"},
    {"Mounted/Outer.txt", nullptr, 0, "other device", kMonday, 0, "C2"},
};

}  // namespace

void EveryActionTest::ClearSides() {
  for (const std::string& root : {UsbPath(""), pair.Pc()}) {
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
      std::filesystem::remove_all(entry.path());
    }
  }
  db.Exec("DELETE FROM FILES");
}

void EveryActionTest::PlanEveryAction(std::int64_t id) {
  oldUsb = oldPc = newUsb = newPc = {};
  for (const PlannedFile& f : kEveryAction) {
    if (f.usb) Put(Side::Usb, f.name, oldUsb[f.name] = f.usb, f.usbTime);
    if (f.pc) Put(Side::Pc, f.name, oldPc[f.name] = f.pc, f.pcTime);
    if (f.known == 'O') {
      db.AddFile({.hostname = kHost, .task = id, .file = f.name, .last = "20200101000000"});
    } else if (f.known != 0) {
      Remember(id, f.name, f.known == 'U' ? Side::Usb : Side::Pc);
    }
    const std::string code = f.code;
    if (code == "C1" || code == "A2") newUsb[f.name] = newPc[f.name] = f.usb;
    if (code == "C2" || code == "A1") newUsb[f.name] = newPc[f.name] = f.pc;
    if (code == "ZZ" || code == "!2") newUsb[f.name] = f.usb, newPc[f.name] = f.pc;
  }
}

const Names& EveryActionTest::Plan() {
  static const Names plan = [] {
    Names codes;
    for (const PlannedFile& f : kEveryAction) {
      std::string key = f.name;
      std::replace(key.begin(), key.end(), '/', '\\');
      codes[key] = f.code;
    }
    return codes;
  }();
  return plan;
}

std::string IntegrityCheck(const std::string& databasePath) {
  sqlite::Database db;
  if (std::string error = db.Open(databasePath); !error.empty()) return error;
  sqlite::Statement check;
  if (std::string error = check.Prepare(db, "PRAGMA integrity_check"); !error.empty()) return error;
  return check.Next() == sqlite::Statement::Step::Row ? check.Text(0) : check.LastError();
}

}  // namespace tandrel::test
