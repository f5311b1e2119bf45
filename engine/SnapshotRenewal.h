#pragma once
// How a run rewrites a task's snapshot without ever emptying it first: an entry's old row goes in
// the batch that writes its new one, the old rows of names no entry had go at the end, and no batch
// is committed before the files it records are on the disk. A run stopped half-way thus leaves the
// old rows of the entries it had not reached, and the next analysis plans them as before.
#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/AppView.h"
#include "engine/Session.h"
#include "store/SnapshotWriter.h"

namespace tandrel {

class SnapshotRenewal {
 public:
  // roots: the folders whose file systems the run writes (both task folders).
  SnapshotRenewal(Session& session, AppView& view, std::vector<std::string> roots);

  // Removes, in the open batch, the snapshot row of the entry's name (when the snapshot has one).
  void RemoveOldRow(const clsArchivo& archivo);
  // Leaves the snapshot row of the entry's name (when there is one) as it is, also at Finish.
  void KeepOldRow(const clsArchivo& archivo);
  // Adds a row to the open batch; a row that cannot be written is named in the log.
  void AddRow(const SnapshotRow& row);
  // The run wrote, re-timed or deleted the file at path (a real path) since the last commit, or
  // may have.
  void FileChanged(const std::string& path);
  // Flushes the written file systems, then commits the batch. A failure is logged.
  void Commit();
  // Commit, when the last one is at least interval ago (see RunSettings).
  void CommitWhenDue(std::chrono::milliseconds interval);
  // Removes the rows of the snapshot that no entry replaced or kept, but for those below the
  // folders the analysis could not look into (session.heldBackFolders), and commits.
  void Finish();
  // A row, a removal or a commit was refused by the database (locked by another program, full,
  // write-protected): the run must not go on changing files it cannot record.
  bool DatabaseFailed() const { return databaseFailed_; }

 private:
  // The file system that holds a folder (0: it cannot be looked at), each found once a run.
  std::uint64_t DeviceOf(const std::string& folder);

  Session& session_;
  AppView& view_;
  std::vector<std::string> roots_;
  std::unordered_set<std::int64_t> settled_;  // rows removed or kept by an entry
  std::unordered_set<std::string> changedFolders_;  // since the last commit
  std::unordered_map<std::string, std::uint64_t> devices_;
  std::chrono::steady_clock::time_point lastCommit_ = std::chrono::steady_clock::now();
  bool databaseFailed_ = false;
};

}  // namespace tandrel
