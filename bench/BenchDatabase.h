#pragma once
// The store benchmarks' database: a program folder with data/db.mdb made from the real schema,
// holding `rows` snapshot rows of task 1 on host PC1, named as a large task's files are.
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tandrel::bench {

inline std::string Name(std::int64_t i) {
  return "Projects\\Client " + std::to_string(i % 97) + "\\Reports\\Report Número " +
         std::to_string(i) + ".Docx";
}

class BenchDatabase {
 public:
  explicit BenchDatabase(std::int64_t rows) {
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tandrel-bench-XXXXXX").string();
    folder_ = ::mkdtemp(pattern.data());
    fs::create_directories(folder_ + "/data");
    sqlite3* db = nullptr;
    sqlite3_open((folder_ + "/data/db.mdb").c_str(), &db);
    std::ifstream schema(TANDREL_SCHEMA_SQL);
    std::stringstream text;
    text << schema.rdbuf();
    sqlite3_exec(db, text.str().c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO FILES VALUES ('PC1', 1, ?, '20200101000000', '123456', "
                           "'20200102000000', '20200103000000', 'ACTIVE', '20240101000000')",
                       -1, &insert, nullptr);
    for (std::int64_t i = 0; i < rows; ++i) {
      const std::string name = Name(i);
      sqlite3_bind_text(insert, 1, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  }
  ~BenchDatabase() { std::filesystem::remove_all(folder_); }
  BenchDatabase(const BenchDatabase&) = delete;
  BenchDatabase& operator=(const BenchDatabase&) = delete;
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
};

}  // namespace tandrel::bench
