#pragma once
// The check, at connection, that the database has every table and column the statements use. A
// damaged or foreign schema is refused before a single task is read from it.
#include <string>

#include "store/Sqlite.h"

namespace tandrel {

// "" when TASKS, FILES and NODO each have every column the program reads or writes (names
// compared without regard to case); else a description that names the first missing table or
// column.
[[nodiscard]] std::string CheckSchema(sqlite::Database& db);

}  // namespace tandrel
