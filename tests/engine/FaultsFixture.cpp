#include "tests/engine/FaultsFixture.h"

#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "core/Platform.h"
#include "engine/FileSystem.h"
#include "engine/TempNames.h"
#include "store/Sqlite.h"

namespace tandrel::test {

TmpfsMount::TmpfsMount(std::string where, const char* size) : where_(std::move(where)) {
  const std::string options = std::string("size=") + size;
  if (::mount("tmpfs", where_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
    error_ = "cannot mount a tmpfs on " + where_ + ": " + ErrorText(errno);
  }
}

TmpfsMount::~TmpfsMount() {
  // Detached: a descriptor a failed test left open must not keep the mount in the way.
  if (Mounted()) ::umount2(where_.c_str(), MNT_DETACH);
}

std::string TmpfsMount::Remount(bool readOnly) {
  const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
  if (::mount("tmpfs", where_.c_str(), "tmpfs", flags, nullptr) != 0) {
    return "cannot remount " + where_ + ": " + ErrorText(errno);
  }
  return {};
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

int ExpectFlushedBeforeEachCommit(const std::vector<FaultInjectingFileSystem::Call>& calls,
                                  const std::vector<std::size_t>& commits) {
  const auto deviceOf = [](const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_dev : 0;
  };
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
    const auto device = deviceOf(ParentFolder(call.path));
    bool flushed = false;
    for (std::size_t j = i + 1; j < *commit; ++j) {
      flushed = flushed || (calls[j].op == FsOp::SyncFileSystem && calls[j].result == 0 &&
                            deviceOf(calls[j].path) == device);
    }
    EXPECT_TRUE(flushed) << "call " << i << " (" << call.path
                         << ") is not flushed before the commit at call " << *commit;
  }
  return changes;
}

std::string IntegrityCheck(const std::string& databasePath) {
  sqlite::Database db;
  if (std::string error = db.Open(databasePath); !error.empty()) return error;
  sqlite::Statement check;
  if (std::string error = check.Prepare(db, "PRAGMA integrity_check"); !error.empty()) return error;
  return check.Next() == sqlite::Statement::Step::Row ? check.Text(0) : check.LastError();
}

}  // namespace tandrel::test
