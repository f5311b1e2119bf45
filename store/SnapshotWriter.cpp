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
  std::string error = delete_.Prepare(db, sql::kBorraFichero);
  if (error.empty()) error = renew_.Prepare(db, sql::kRenuevaFichero);
  if (!error.empty()) {
    insert_.Finalize();
    delete_.Finalize();
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
  pendingDelete_.reset();
  insert_.Finalize();
  delete_.Finalize();
  renew_.Finalize();
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
  if (inBatch_ && sqlite3_get_autocommit(db_->Handle()) != 0) {
    inBatch_ = false;
    pendingDelete_.reset();
  }
}

void SnapshotWriter::BindRow(sqlite::Statement& statement, const SnapshotRow& row) {
  statement.BindText(1, row.HOSTNAME);
  statement.BindInt(2, row.TASK);
  statement.BindText(3, row.FILE);
  statement.BindText(4, row.CREATION);
  statement.BindText(5, row.SIZE);
  statement.BindText(6, row.LAST);
  statement.BindText(7, row.ACCESS);
  statement.BindText(8, row.STATE);
  statement.BindText(9, row.SYNC);
}

bool SnapshotWriter::Run(sqlite::Statement& statement) {
  const bool ok = statement.Next() == sqlite::Statement::Step::Done;
  ok ? lastError_.clear() : NoteFailure(statement.LastError());
  statement.Reset();
  return ok;
}

bool SnapshotWriter::RunDelete(std::int64_t rowid) {
  delete_.BindInt(1, rowid);
  return Run(delete_);
}

bool SnapshotWriter::DeletePending() {
  if (!pendingDelete_) return true;
  const std::int64_t rowid = *pendingDelete_;
  pendingDelete_.reset();
  return RunDelete(rowid);
}

bool SnapshotWriter::AddRow(const SnapshotRow& row) {
  if (!BeginBatch()) return false;
  if (pendingDelete_) {
    const std::int64_t rowid = *pendingDelete_;
    pendingDelete_.reset();
    BindRow(renew_, row);
    renew_.BindInt(10, rowid);
    if (!Run(renew_)) return false;
    if (sqlite3_changes(db_->Handle()) == 1) return true;
    // The old row belongs to the host in another spelling of case: removed, and the row written
    // anew, as it would have been without the shortcut.
    if (!RunDelete(rowid)) return false;
  }
  BindRow(insert_, row);
  return Run(insert_);
}

bool SnapshotWriter::DeleteRow(std::int64_t rowid) {
  if (!BeginBatch()) return false;
  if (!DeletePending()) return false;
  pendingDelete_ = rowid;
  lastError_.clear();
  return true;
}

bool SnapshotWriter::Commit() {
  if (!inBatch_) return true;
  if (!DeletePending()) {
    if (inBatch_) (void)db_->Exec("ROLLBACK");
    inBatch_ = false;
    return false;
  }
  inBatch_ = false;
  lastError_ = db_->Exec("COMMIT");
  if (lastError_.empty()) return true;
  (void)db_->Exec("ROLLBACK");
  return false;
}

}  // namespace tandrel
