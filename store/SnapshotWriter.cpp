#include "store/SnapshotWriter.h"

#include <utility>

#include "store/Conexion.h"
#include "store/Sentencias.h"

namespace tandrel {

std::string SnapshotWriter::Open(Conexion& conexion) {
  Close();
  if (!conexion.IsOpen()) return "The database is not open";
  sqlite::Database& db = conexion.Db();
  if (std::string error = insert_.Prepare(db, sql::kInsertaFichero); !error.empty()) {
    return "Cannot write the table FILES: " + error;
  }
  if (std::string error = delete_.Prepare(db, sql::kBorraFichero); !error.empty()) {
    insert_.Finalize();
    return "Cannot write the table FILES: " + error;
  }
  db_ = &db;
  return {};
}

void SnapshotWriter::Close() {
  // Rows not committed are dropped: only Commit, which the caller reaches after the copied files'
  // data is on the disk, may make a row say a file is in step.
  if (inBatch_ && db_ != nullptr) (void)db_->Exec("ROLLBACK");
  inBatch_ = false;
  insert_.Finalize();
  delete_.Finalize();
  db_ = nullptr;
}

bool SnapshotWriter::IsOpen() const { return db_ != nullptr; }

bool SnapshotWriter::BeginBatch() {
  if (inBatch_) return true;
  if (db_ == nullptr) {
    lastError_ = "The table FILES is not open";
    return false;
  }
  // IMMEDIATE takes the write lock now, so a database held by someone else fails here, before a
  // row is half written.
  lastError_ = db_->Exec("BEGIN IMMEDIATE");
  inBatch_ = lastError_.empty();
  return inBatch_;
}

void SnapshotWriter::NoteFailure(std::string error) {
  lastError_ = std::move(error);
  // After some errors (a full disk, an I/O error) SQLite rolls the whole transaction back by
  // itself. The batch is then gone; the next row must open a new one rather than be committed on
  // its own at once, before the files it records are flushed.
  if (inBatch_ && sqlite3_get_autocommit(db_->Handle()) != 0) inBatch_ = false;
}

bool SnapshotWriter::AddRow(const SnapshotRow& row) {
  if (!BeginBatch()) return false;
  insert_.BindText(1, row.HOSTNAME);
  insert_.BindInt(2, row.TASK);
  insert_.BindText(3, row.FILE);
  insert_.BindText(4, row.CREATION);
  insert_.BindText(5, row.SIZE);
  insert_.BindText(6, row.LAST);
  insert_.BindText(7, row.ACCESS);
  insert_.BindText(8, row.STATE);
  insert_.BindText(9, row.SYNC);
  const bool ok = insert_.Next() == sqlite::Statement::Step::Done;
  ok ? lastError_.clear() : NoteFailure(insert_.LastError());
  insert_.Reset();
  return ok;
}

bool SnapshotWriter::DeleteRow(std::int64_t rowid) {
  if (!BeginBatch()) return false;
  delete_.BindInt(1, rowid);
  const bool ok = delete_.Next() == sqlite::Statement::Step::Done;
  ok ? lastError_.clear() : NoteFailure(delete_.LastError());
  delete_.Reset();
  return ok;
}

bool SnapshotWriter::Commit() {
  if (!inBatch_) return true;
  inBatch_ = false;
  lastError_ = db_->Exec("COMMIT");
  if (lastError_.empty()) return true;
  (void)db_->Exec("ROLLBACK");
  return false;
}

}  // namespace tandrel
