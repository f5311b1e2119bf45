#pragma once
// Helpers shared by the fault suites: a small tmpfs mounted for one test (a full disk, a read-only
// file system, a second device below a task folder), an immutable file, the check that a tree
// holds only whole versions of its files, the order of flushes and commits, and SQLite's own
// verdict on a database file.
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
  ~TmpfsMount() { Unmount(); }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Error() const { return error_; }
  // Read-only or writable again; "" or the reason it failed.
  std::string Remount(bool readOnly);
  void Unmount();

 private:
  std::string where_;
  bool mounted_ = false;
  std::string error_;
};

// Sets or clears the immutable flag (chattr +i / -i); "" or why it cannot be done here.
std::string SetImmutable(const std::string& path, bool on);

// Every file of tree is its version in before or in after (a temporary copy is left out), and
// every file that is in both before and after is still there. side names the tree in messages.
void ExpectWhole(const Names& tree, const Names& before, const Names& after, const char* side);

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

// A task with one entry of every action, a copy that will fail ("Blocked.txt", unless a test makes
// its open fail) and a folder "Mounted" on each side; what each side holds before the run, and
// what it is to hold once the plan is carried out.
class EveryActionTest : public RunTest {
 protected:
  // Empties both task folders (not the folders themselves: either may be a mount point) and the
  // snapshot.
  void ClearSides();
  void PlanEveryAction(std::int64_t id);
  // Every entry's code in the plan, by key.
  static const Names& Plan();
  Names oldUsb, oldPc, newUsb, newPc;
};

// The first line of PRAGMA integrity_check ("ok" for a sound database), or the open error.
std::string IntegrityCheck(const std::string& databasePath);

}  // namespace tandrel::test
