#include "tests/support/TempDatabase.h"

#include <sqlite3.h>

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <stdexcept>

namespace tandrel::test {

namespace {

// Runs sql on a connection of its own, closed again at once: the database is never left locked by
// the fixture. Test data need not survive a power cut; without the syncs every call is quick. The
// first column of the first row ("" none, "NULL" null).
std::string Run(const std::string& path, const std::string& sql,
                int flags = SQLITE_OPEN_READWRITE) {
  sqlite3* db = nullptr;
  std::optional<std::string> first;
  const auto row = [](void* out, int, char** values, char**) {
    auto& text = *static_cast<std::optional<std::string>*>(out);
    if (!text) text = values[0] ? values[0] : "NULL";
    return 0;
  };
  char* error = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, 2000);
    rc = sqlite3_exec(db, ("PRAGMA synchronous=OFF;" + sql).c_str(), row, &first, &error);
  }
  const std::string message = error ? error : sqlite3_errstr(rc);
  sqlite3_free(error);
  sqlite3_close_v2(db);
  if (rc != SQLITE_OK) throw std::runtime_error("TempDatabase: " + sql + ": " + message);
  return first.value_or("");
}

// A value as SQL text; %Q writes NULL for no text.
std::string Quoted(const std::optional<std::string>& text) {
  char* quoted = sqlite3_mprintf("%Q", text ? text->c_str() : nullptr);
  std::string result = quoted;
  sqlite3_free(quoted);
  return result;
}
std::string Quoted(const std::optional<std::int64_t>& number) {
  return number ? std::to_string(*number) : "NULL";
}

// Inserts a row of values given as SQL text into "TABLE (columns)"; the new row's ID.
std::int64_t Insert(const std::string& path, const std::string& into,
                    std::initializer_list<std::string> values) {
  std::string list;
  for (const std::string& value : values) list += (list.empty() ? "" : ", ") + value;
  return std::stoll(
      Run(path, "INSERT INTO " + into + " VALUES (" + list + "); SELECT last_insert_rowid()"));
}

}  // namespace

TempDatabase::TempDatabase() : folder_("tandrel-db"), path_(folder_ / "data/db.mdb") {
  std::filesystem::create_directories(folder_ / "data");
  const std::string schema = ReadBytes(TANDREL_SCHEMA_SQL);
  if (schema == "<missing>") throw std::runtime_error("TempDatabase: no " TANDREL_SCHEMA_SQL);
  Run(path_, schema, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

std::int64_t TempDatabase::AddTask(const Task& t) {
  return Insert(path_, R"(TASKS ("HOSTNAME", "TYPE", "LEFT", "RIGHT", "LEFTOPT", "RIGHTOPT",
                              "DESCR", "OPTIONS", "LASTEXE"))",
                {Quoted(t.hostname), Quoted(t.type), Quoted(t.left), Quoted(t.right),
                 Quoted(t.leftopt), Quoted(t.rightopt), Quoted(t.descr), Quoted(t.options),
                 Quoted(t.lastexe)});
}

std::int64_t TempDatabase::AddFile(const File& f) {
  return Insert(path_, R"(FILES ("HOSTNAME", "TASK", "FILE", "CREATION", "SIZE", "LAST",
                              "ACCESS", "STATE", "SYNC"))",
                {Quoted(f.hostname), Quoted(f.task), Quoted(f.file), Quoted(f.creation),
                 Quoted(f.size), Quoted(f.last), Quoted(f.access), Quoted(f.state),
                 Quoted(f.sync)});
}

void TempDatabase::AddMask(std::int64_t task, std::optional<std::string> mask,
                           std::optional<std::int64_t> pos) {
  Insert(path_, R"(NODO ("TASK", "MASK", "POS"))",
         {std::to_string(task), Quoted(mask), Quoted(pos)});
}

void TempDatabase::Exec(std::string_view sql) { Run(path_, std::string(sql)); }

std::string TempDatabase::Value(std::string_view sql) { return Run(path_, std::string(sql)); }

}  // namespace tandrel::test
