#include "store/SchemaCheck.h"

#include <strings.h>

#include <array>
#include <string_view>
#include <vector>

namespace tandrel {

namespace {

struct Table {
  std::string_view name;
  std::vector<std::string_view> columns;
};

// Every column named by a statement in store/Sentencias.cpp.
const std::array<Table, 3> kTables = {{
    {"TASKS", {"ID", "HOSTNAME", "TYPE", "LEFT", "RIGHT", "LEFTOPT", "RIGHTOPT", "DESCR", "OPTIONS",
               "LASTEXE"}},
    {"FILES", {"HOSTNAME", "TASK", "FILE", "CREATION", "SIZE", "LAST", "ACCESS", "STATE", "SYNC"}},
    {"NODO", {"TASK", "MASK", "POS"}},
}};

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

std::string CheckSchema(sqlite::Database& db) {
  for (const Table& table : kTables) {
    sqlite::Statement columns;
    if (std::string error = columns.Prepare(db, "SELECT name FROM pragma_table_info(?1)");
        !error.empty()) {
      return error;
    }
    columns.BindText(1, table.name);
    std::vector<std::string> present;
    for (auto step = columns.Next(); step != sqlite::Statement::Step::Done; step = columns.Next()) {
      if (step == sqlite::Statement::Step::Error) return columns.LastError();
      present.push_back(columns.Text(0));
    }
    const std::string where = "the table " + std::string(table.name);
    constexpr std::string_view kWhy = " (the file is damaged or is not Tandrel's database)";
    if (present.empty()) return where + " is missing" + std::string(kWhy);
    for (const std::string_view column : table.columns) {
      bool found = false;
      for (const std::string& name : present) found = found || SameNoCase(name, column);
      if (!found) return where + " has no column " + std::string(column) + std::string(kWhy);
    }
  }
  return {};
}

}  // namespace tandrel
