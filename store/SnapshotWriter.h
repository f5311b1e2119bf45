#pragma once
// rsFiles: the prepared insert into FILES held open from start-up to shutdown. Rows are written in
// batches inside one transaction; the caller commits at every yield and at the end of a run.
#include <cstdint>
#include <optional>
#include <string>

#include "store/Sqlite.h"

namespace tandrel {

class Conexion;

struct SnapshotRow {
  std::string HOSTNAME;
  std::int64_t TASK = 0;
  std::string FILE;
  std::string CREATION;
  std::string SIZE;
  std::string LAST;
  std::string ACCESS;
  std::string STATE = "ACTIVE";
  std::string SYNC;
};

class SnapshotWriter {
 public:
  // Prepares the statements; "" or the error description (FILES missing, say).
  [[nodiscard]] std::string Open(Conexion& conexion);
  // Rolls back a batch not yet committed, then releases the statements.
  void Close();
  bool IsOpen() const;

  // Each call opens the batch transaction when none is open. The batch is the connection's own
  // transaction: other statements sent on it meanwhile (a DELETE through Sentencias) belong to it.
  // A DeleteRow followed by an AddRow of the same host and task (a run renewing an entry's row)
  // rewrites the old row in place: the table's index is not touched and each page is written
  // once. The removal is thus carried out at the next call, and a failure of it is told there.
  [[nodiscard]] bool AddRow(const SnapshotRow& row);
  [[nodiscard]] bool DeleteRow(std::int64_t rowid);
  // Commits the open batch (true when none is open). On failure the batch is rolled back.
  [[nodiscard]] bool Commit();
  bool InBatch() const { return inBatch_; }
  // The description of the last failure of Open's successors (AddRow, DeleteRow, Commit).
  const std::string& LastError() const { return lastError_; }

 private:
  bool BeginBatch();
  void NoteFailure(std::string error);
  void BindRow(sqlite::Statement& statement, const SnapshotRow& row);
  // Runs the statement, which is reset after; false with the failure noted.
  bool Run(sqlite::Statement& statement);
  bool RunDelete(std::int64_t rowid);
  // The removal kept back by DeleteRow, carried out now.
  bool DeletePending();

  sqlite::Database* db_ = nullptr;
  sqlite::Statement insert_;
  sqlite::Statement delete_;
  sqlite::Statement renew_;
  std::optional<std::int64_t> pendingDelete_;
  bool inBatch_ = false;
  std::string lastError_;
};

}  // namespace tandrel
