#include "tests/support/TempDatabase.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <variant>
#include <vector>

namespace tandrel::test {

namespace {

namespace fs = std::filesystem;

using Value = std::variant<std::nullptr_t, std::int64_t, std::string>;

template <class T>
Value Of(const std::optional<T>& v) {
  if (!v) return nullptr;
  return *v;
}

// One short-lived connection per call: the database is never left locked by the fixture.
class Connection {
 public:
  explicit Connection(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      Fail("open " + path);
    }
    sqlite3_busy_timeout(db_, 2000);
    // Test data need not survive a power cut; without the syncs every helper call is quick.
    sqlite3_exec(db_, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
  }
  ~Connection() { sqlite3_close_v2(db_); }

  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("TempDatabase: " + what + ": " + (db_ ? sqlite3_errmsg(db_) : "?"));
  }

  // Runs sql with values bound; the first column of the first row ("" none, "NULL" null).
  std::string Run(std::string_view sql, const std::vector<Value>& values = {}) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK) {
      Fail(std::string(sql));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      const int n = static_cast<int>(i + 1);
      if (const auto* s = std::get_if<std::string>(&values[i])) {
        sqlite3_bind_text(st, n, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
      } else if (const auto* v = std::get_if<std::int64_t>(&values[i])) {
        sqlite3_bind_int64(st, n, *v);
      } else {
        sqlite3_bind_null(st, n);
      }
    }
    std::string result;
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(st, 0);
      result = text ? reinterpret_cast<const char*>(text) : "NULL";
    } else if (rc != SQLITE_DONE) {
      sqlite3_finalize(st);
      Fail(std::string(sql));
    }
    sqlite3_finalize(st);
    return result;
  }
  std::int64_t LastRowId() const { return sqlite3_last_insert_rowid(db_); }
  sqlite3* Handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("TempDatabase: cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TempDatabase::TempDatabase() : folder_("tandrel-db"), path_(folder_ / "data/db.mdb") {
  fs::create_directories(folder_ / "data");
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
  char* error = nullptr;
  if (rc == SQLITE_OK) sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) sqlite3_exec(db, ReadFile(TANDREL_SCHEMA_SQL).c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : (rc != SQLITE_OK ? sqlite3_errstr(rc) : "");
  sqlite3_free(error);
  sqlite3_close_v2(db);
  if (!message.empty()) throw std::runtime_error("TempDatabase: schema: " + message);
}

std::int64_t TempDatabase::AddTask(const Task& t) {
  Connection c(path_);
  c.Run(R"(INSERT INTO TASKS ("HOSTNAME", "TYPE", "LEFT", "RIGHT", "LEFTOPT", "RIGHTOPT", "DESCR",
           "OPTIONS", "LASTEXE") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?))",
        {Of(t.hostname), Of(t.type), Of(t.left), Of(t.right), Of(t.leftopt), Of(t.rightopt),
         Of(t.descr), Of(t.options), Of(t.lastexe)});
  return c.LastRowId();
}

std::int64_t TempDatabase::AddFile(const File& f) {
  Connection c(path_);
  c.Run(R"(INSERT INTO FILES ("HOSTNAME", "TASK", "FILE", "CREATION", "SIZE", "LAST", "ACCESS",
           "STATE", "SYNC") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?))",
        {Of(f.hostname), Of(f.task), Of(f.file), Of(f.creation), Of(f.size), Of(f.last),
         Of(f.access), Of(f.state), Of(f.sync)});
  return c.LastRowId();
}

void TempDatabase::AddMask(std::int64_t task, std::optional<std::string> mask,
                           std::optional<std::int64_t> pos) {
  Connection c(path_);
  c.Run(R"(INSERT INTO NODO ("TASK", "MASK", "POS") VALUES (?, ?, ?))",
        {task, Of(mask), Of(pos)});
}

void TempDatabase::Exec(std::string_view sql) {
  Connection c(path_);
  char* error = nullptr;
  if (sqlite3_exec(c.Handle(), std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error("TempDatabase: " + std::string(sql) + ": " + message);
  }
}

std::string TempDatabase::Value(std::string_view sql) { return Connection(path_).Run(sql); }

}  // namespace tandrel::test
