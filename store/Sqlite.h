#pragma once
// A small RAII layer over SQLite's C API: a connection, a prepared statement with bound values and
// row reading, and a transaction that rolls back unless committed.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace tandrel::sqlite {

class Database {
 public:
  Database() = default;
  ~Database() { Close(); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Opens an existing file (never creates one); "" or the error description. A file that is
  // write-protected (owner-write bit clear, also for root), whose folder is, or whose file system
  // is mounted read-only, opens read-only: ReadOnlyCause() then says why.
  [[nodiscard]] std::string Open(const std::string& path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  // "" for a database opened for writing, else why it was opened read-only.
  const std::string& ReadOnlyCause() const { return readOnlyCause_; }
  sqlite3* Handle() const { return db_; }
  // Runs statements that return no rows; "" or the error description.
  [[nodiscard]] std::string Exec(std::string_view sql);
  std::string LastError() const;
  std::int64_t LastInsertRowId() const;

 private:
  sqlite3* db_ = nullptr;
  std::string readOnlyCause_;
};

class Statement {
 public:
  Statement() = default;
  ~Statement() { Finalize(); }
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // "" or the error description.
  [[nodiscard]] std::string Prepare(Database& db, std::string_view sql);
  void Finalize();
  bool IsPrepared() const { return stmt_ != nullptr; }

  // Parameters count from 1.
  void BindText(int i, std::string_view value);
  void BindInt(int i, std::int64_t value);
  void BindNull(int i);

  enum class Step { Row, Done, Error };
  Step Next();
  void Reset();  // ready to run again, bindings cleared

  int ColumnCount() const;
  // Index of a column by name, without regard to case; -1 when absent.
  int ColumnIndex(std::string_view name) const;
  bool IsNull(int col) const;
  std::string Text(int col) const;  // NULL gives ""
  // The text without a copy; valid until the next Next(), Reset() or Finalize().
  std::string_view TextView(int col) const;
  std::int64_t Int(int col) const;
  double Real(int col) const;
  int Type(int col) const;  // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL
  // The description of the last failure on this statement's connection.
  std::string LastError() const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();  // rolls back unless committed
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  bool Began() const { return began_; }
  [[nodiscard]] bool Commit();

 private:
  Database& db_;
  bool began_ = false;
  bool done_ = false;
};

}  // namespace tandrel::sqlite
