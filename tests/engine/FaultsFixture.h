#pragma once
// Helpers shared by the fault suites: a small tmpfs mounted for one test (a full disk, a read-only
// file system, a second device below a task folder), the order of flushes and commits, and
// SQLite's own verdict on a database file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "tests/support/RunFixture.h"

namespace tandrel::test {

// A tmpfs of `size` ("1m") mounted over `where` (an existing folder) until the object goes. Needs
// root, or a user namespace that allows it; Error() tells why it is not mounted.
class TmpfsMount {
 public:
  TmpfsMount(std::string where, const char* size);
  ~TmpfsMount();
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool Mounted() const { return error_.empty(); }
  const std::string& Error() const { return error_; }
  // Read-only or writable again; "" or the reason it failed.
  std::string Remount(bool readOnly);

 private:
  std::string where_;
  std::string error_;
};

// Where each commit of a connection falls among the calls a fault wrapper records: the size of its
// journal when the commit began. Watches from its making to its end.
class CommitMarks {
 public:
  CommitMarks(sqlite3* db, const FaultInjectingFileSystem& fs);
  ~CommitMarks() { sqlite3_commit_hook(db_, nullptr, nullptr); }
  CommitMarks(const CommitMarks&) = delete;
  CommitMarks& operator=(const CommitMarks&) = delete;
  const std::vector<std::size_t>& At() const { return at_; }

 private:
  sqlite3* db_;
  const FaultInjectingFileSystem& fs_;
  std::vector<std::size_t> at_;
};

// Every recorded call that changed a name or a file's times on the disk is followed, before the
// first commit after it (if any), by a flush of the file system that holds it. The number of such
// calls.
int ExpectFlushedBeforeEachCommit(const std::vector<FaultInjectingFileSystem::Call>& journal,
                                  const std::vector<std::size_t>& commits);

// The first line of PRAGMA integrity_check ("ok" for a sound database), or the open error.
std::string IntegrityCheck(const std::string& databasePath);

}  // namespace tandrel::test
