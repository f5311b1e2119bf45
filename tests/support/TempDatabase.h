#pragma once
// A temporary program folder holding data/db.mdb made from the real schema (data/schema.sql), for
// tests that need a real SQLite database. The folder and everything in it go when the object goes.
//
//   TempDatabase db;                        // <folder>/data/db.mdb with empty TASKS, FILES, NODO
//   auto id = db.AddTask({.hostname = "PC1", .descr = "Docs"});
//   db.AddFile({.hostname = "PC1", .task = id, .file = "A\\B.txt"});
//   db.AddMask(0, ".tmp", 0);
//   ConectaBD(conexion, ini, db.Folder());  // default settings find data\db.mdb there
//
// The helpers write through a connection of their own that is closed again at once, so they never
// hold a lock the code under test would meet; a failure throws std::runtime_error (the test fails).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/TempFolder.h"

namespace tandrel::test {

class TempDatabase {
 public:
  TempDatabase();  // as TempFolder, never copied

  // The program folder ("/tmp/tandrel-db-XXXXXX") and the database in it ("<folder>/data/db.mdb").
  const std::string& Folder() const { return folder_.path(); }
  const std::string& Path() const { return path_; }

  // A row of TASKS; a field left nullopt is written as NULL.
  struct Task {
    std::optional<std::string> hostname = std::nullopt;
    std::optional<std::int64_t> type = 1;
    std::optional<std::string> left = std::nullopt;
    std::optional<std::string> right = std::nullopt;
    std::optional<std::string> leftopt = std::nullopt;
    std::optional<std::string> rightopt = std::nullopt;
    std::optional<std::string> descr = std::nullopt;
    std::optional<std::string> options = std::nullopt;
    std::optional<std::string> lastexe = "00000000000000";
  };
  // Inserts the row; its new ID.
  std::int64_t AddTask(const Task& task);

  // A row of FILES; a field left nullopt is written as NULL.
  struct File {
    std::optional<std::string> hostname = std::nullopt;
    std::optional<std::int64_t> task = std::nullopt;
    std::optional<std::string> file = std::nullopt;
    std::optional<std::string> creation = "20200101000000";
    std::optional<std::string> size = "100";
    std::optional<std::string> last = "20200102000000";
    std::optional<std::string> access = "20200103000000";
    std::optional<std::string> state = "ACTIVE";
    std::optional<std::string> sync = "20200104000000";
  };
  // Inserts the row; its rowid.
  std::int64_t AddFile(const File& file);

  // A row of NODO (task 0: every task).
  void AddMask(std::int64_t task, std::optional<std::string> mask, std::optional<std::int64_t> pos);

  // Runs SQL that returns no rows.
  void Exec(std::string_view sql);
  // The first column of the first row as text: "" for no row, "NULL" for a NULL value.
  std::string Value(std::string_view sql);
  std::int64_t Count(std::string_view sql) { return std::stoll(Value(sql)); }

 private:
  TempFolder folder_;
  std::string path_;
};

}  // namespace tandrel::test
