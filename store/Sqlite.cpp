#include "store/Sqlite.h"

#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/Platform.h"

namespace tandrel::sqlite {

namespace {

// Long enough for another program's short write to finish, short enough that a database held open
// by another instance gives its message instead of a frozen window.
constexpr int kBusyTimeoutMs = 2000;

std::string CannotOpen(const std::string& path, const std::string& cause) {
  return "Cannot open the database \"" + path + "\": " + cause;
}

// SQLite's own words are terse ("file is not a database"); say what they mean for the user.
std::string ExplainCode(int code, const char* message) {
  std::string text = message ? message : "unknown error";
  switch (code & 0xff) {
    case SQLITE_NOTADB:
      return text + " (the file is not a SQLite database, or it is damaged)";
    case SQLITE_CORRUPT:
      return text + " (the file is damaged or cut short)";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return text + " (another program is using it)";
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return text + " (no permission to write it)";
    default:
      return text;
  }
}

// Everything that can be said about the file before SQLite sees it: SQLite would call a folder
// "unable to open database file" and an empty file a valid, empty database.
std::string CheckFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return "the file does not exist";
    return std::strerror(errno);
  }
  if (S_ISDIR(st.st_mode)) return "it is a folder, not a database file";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  if (st.st_size == 0) return "the file is empty, not a database";
  return {};
}

// Why the program may not write the database, or "". The owner-write bit is the user's word even
// for root, whom the kernel would let write anyway; the rollback journal needs the folder too.
std::string ReadOnlyCauseOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 &&
      ((st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0)) {
    return "the file is write-protected";
  }
  const std::string folder = ParentFolder(path);
  struct statvfs fs {};
  if (::statvfs(folder.c_str(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0) {
    return "its disk is mounted read-only";
  }
  if (::stat(folder.c_str(), &st) == 0 &&
      ((st.st_mode & S_IWUSR) == 0 || ::access(folder.c_str(), W_OK) != 0)) {
    return "its folder \"" + folder + "\" is write-protected (the journal cannot be written there)";
  }
  return {};
}

}  // namespace

// ---- Database ----

std::string Database::Open(const std::string& path) {
  Close();
  if (path.empty()) return "Cannot open the database: no file named";
  if (std::string cause = CheckFile(path); !cause.empty()) return CannotOpen(path, cause);

  std::string readOnly = ReadOnlyCauseOf(path);
  sqlite3* db = nullptr;
  // One thread uses a connection: without SQLite's own mutex, reading a column of 100,000 rows
  // takes no lock at each call.
  const int flags =
      (readOnly.empty() ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string cause = ExplainCode(rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close_v2(db);
    return CannotOpen(path, cause);
  }
  db_ = db;
  sqlite3_extended_result_codes(db_, 1);
  // By default SQLite reads a double-quoted name it cannot find as a text literal: a column
  // missing from a damaged schema would read as its own name ("LEFTOPT" as option letters).
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);

  // SQLite opens lazily: the header is first read here, so a file that is not a database, is cut
  // short or is locked by another program is reported now and not at the first task query.
  std::string cause;
  sqlite3_stmt* probe = nullptr;
  int step = sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_master", -1, &probe, nullptr);
  if (step == SQLITE_OK) step = sqlite3_step(probe);
  if (step != SQLITE_ROW) cause = ExplainCode(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_));
  sqlite3_finalize(probe);
  // Write-protected in a way the checks above cannot see.
  if (cause.empty() && readOnly.empty() && sqlite3_db_readonly(db_, "main") == 1) {
    readOnly = "the system refuses to let it be written";
  }
  // The file travels on a stick: a rollback journal and full syncs keep it whole whenever the
  // program is closed or the stick pulled, and a journal left by a crash rolls back anywhere.
  if (cause.empty()) cause = Exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
  if (!cause.empty()) {
    Close();
    return CannotOpen(path, cause);
  }
  readOnlyCause_ = std::move(readOnly);
  return {};
}

void Database::Close() {
  if (db_ == nullptr) return;
  // _v2: a statement someone still holds keeps the handle alive until it is finalized, instead of
  // the close failing and leaking the file.
  sqlite3_close_v2(db_);
  db_ = nullptr;
  readOnlyCause_.clear();
}

std::string Database::Exec(std::string_view sql) {
  if (db_ == nullptr) return "The database is not open";
  const std::string text(sql);
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
  if (rc == SQLITE_OK) return {};
  std::string error = ExplainCode(rc, message ? message : sqlite3_errmsg(db_));
  sqlite3_free(message);
  return error;
}

std::string Database::LastError() const {
  if (db_ == nullptr) return "The database is not open";
  return ExplainCode(sqlite3_extended_errcode(db_), sqlite3_errmsg(db_));
}

std::int64_t Database::LastInsertRowId() const {
  return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

// ---- Statement ----

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    Finalize();
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

std::string Statement::Prepare(Database& db, std::string_view sql) {
  Finalize();
  if (!db.IsOpen()) return "The database is not open";
  const int rc = sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_,
                                    nullptr);
  if (rc != SQLITE_OK) {
    Finalize();
    return db.LastError();
  }
  if (stmt_ == nullptr) return "Empty statement";
  return {};
}

void Statement::Finalize() {
  if (stmt_ != nullptr) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

void Statement::BindText(int i, std::string_view value) {
  sqlite3_bind_text64(stmt_, i, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void Statement::BindInt(int i, std::int64_t value) { sqlite3_bind_int64(stmt_, i, value); }

void Statement::BindNull(int i) { sqlite3_bind_null(stmt_, i); }

Statement::Step Statement::Next() {
  if (stmt_ == nullptr) return Step::Error;
  switch (sqlite3_step(stmt_)) {
    case SQLITE_ROW: return Step::Row;
    case SQLITE_DONE: return Step::Done;
    default: return Step::Error;
  }
}

void Statement::Reset() {
  if (stmt_ == nullptr) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::string Statement::LastError() const {
  if (stmt_ == nullptr) return "The statement is not prepared";
  sqlite3* db = sqlite3_db_handle(stmt_);
  return ExplainCode(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
}

int Statement::ColumnCount() const { return stmt_ ? sqlite3_column_count(stmt_) : 0; }

int Statement::ColumnIndex(std::string_view name) const {
  const int n = ColumnCount();
  for (int i = 0; i < n; ++i) {
    const char* column = sqlite3_column_name(stmt_, i);
    if (column != nullptr && std::strlen(column) == name.size() &&
        ::strncasecmp(column, name.data(), name.size()) == 0) {
      return i;
    }
  }
  return -1;
}

bool Statement::IsNull(int col) const { return sqlite3_column_type(stmt_, col) == SQLITE_NULL; }

std::string Statement::Text(int col) const {
  const auto* text = sqlite3_column_text(stmt_, col);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)));
}

std::string_view Statement::TextView(int col) const {
  const auto* text = sqlite3_column_text(stmt_, col);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text),
          static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col))};
}

std::int64_t Statement::Int(int col) const { return sqlite3_column_int64(stmt_, col); }

int Statement::Type(int col) const { return sqlite3_column_type(stmt_, col); }

double Statement::Real(int col) const { return sqlite3_column_double(stmt_, col); }

// ---- Transaction ----

Transaction::Transaction(Database& db) : db_(db) { began_ = db_.Exec("BEGIN").empty(); }

Transaction::~Transaction() {
  if (began_ && !done_) (void)db_.Exec("ROLLBACK");
}

bool Transaction::Commit() {
  if (!began_ || done_) return false;
  if (!db_.Exec("COMMIT").empty()) {
    (void)db_.Exec("ROLLBACK");
    done_ = true;
    return false;
  }
  done_ = true;
  return true;
}

}  // namespace tandrel::sqlite
