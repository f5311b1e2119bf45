// Connecting, and every way the file can fail to be a usable database. A missing file is never
// created.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using test::TempDatabase;

bool Has(std::string_view text, std::string_view part) { return text.find(part) != text.npos; }

std::string Conecta(const TempDatabase& db,
                    const std::string& provider = "Microsoft.Jet.OLEDB.4.0;") {
  clsArchivoINI ini(db.Folder(), "Tandrel");
  ini.DB_Provider = provider;
  Conexion conexion;
  std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_EQ(conexion.IsOpen(), error.empty());
  return error;
}

// Durable writes (no journal left beside the database on a stick pulled out), and one Tandrel at a
// time: a second connection is refused until the first is released.
TEST(ConectaBD, OpensDataDbMdbBesideTheProgramAndLocksItForOneTandrel) {
  TempDatabase db;
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  // ConsultaValor: the first value trimmed, else empty.
  EXPECT_EQ(ConsultaValor(conexion, "PRAGMA journal_mode") + "|" +
                ConsultaValor(conexion, "PRAGMA synchronous") + "|" +
                ConsultaValor(conexion, "SELECT ' x' || ? || ' ', 'y'", {std::int64_t{2}}) +
                ConsultaValor(conexion, "SELECT nonsense FROM nowhere"),
            "delete|2|x2");
  // A name SQLite cannot find is an error, never the text of the name.
  sqlite::Statement literal;
  EXPECT_NE(literal.Prepare(conexion.Db(), R"(SELECT "NOSUCH" FROM TASKS)"), "");

  const std::string inUse = Conecta(db);
  EXPECT_TRUE(Has(inUse, "in use by another Tandrel")) << inUse;
  conexion.Close();
  EXPECT_NE(Conecta(db), "") << "the lock outlives the connection until shutdown";
  conexion.Release();
  EXPECT_EQ(Conecta(db, "sqlite;"), "");
  EXPECT_NE(Conecta(db, "SQLOLEDB;").find("\"SQLOLEDB\""), std::string::npos);
  // Relative sources resolve beside the program in every test; an absolute one is kept.
  EXPECT_EQ(ResuelveRutaBD("/srv/db.mdb", "/media/stick"), "/srv/db.mdb");
}

// Each unusable file, and one another program holds, is named with its cause.
TEST(ConectaBD, EveryUnusableFileIsNamedWithItsCause) {
  TempDatabase db;
  db.Exec(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)
             INSERT INTO FILES (HOSTNAME, TASK, FILE) SELECT 'PC', 1, 'Folder\File ' || i FROM n)");
  const std::string full = test::ReadBytes(db.Path());
  const std::pair<std::string, const char*> cases[] = {
      {"just some words\n", "not a SQLite database"},
      {full.substr(0, 50), "damaged"},
      {full.substr(0, full.size() / 2), "damaged"},  // cut short after its first pages
      {"", "empty"},
  };
  for (const auto& [bytes, cause] : cases) {
    test::WriteBytes(db.Path(), bytes);
    const std::string error = Conecta(db);
    EXPECT_TRUE(Has(error, db.Path()) && Has(error, cause)) << error;
  }
  test::WriteBytes(db.Path(), full);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_TRUE(Has(Conecta(db), "locked"));
  sqlite3_close(other);  // rolls back
  EXPECT_EQ(Conecta(db), "");
  fs::remove(db.Path());
  EXPECT_TRUE(Has(Conecta(db), "does not exist"));
  EXPECT_FALSE(fs::exists(db.Path()));
  fs::create_directory(db.Path());
  EXPECT_TRUE(Has(Conecta(db), "folder"));
}

// A column a statement names, renamed away (in each table, the first the program reads and one of
// its last), and a table gone: the connection is refused with the table and column named, and the
// file is left as it was.
TEST(ConectaBD, ADamagedSchemaIsRefusedNamingWhatIsMissing) {
  const std::pair<const char*, std::vector<const char*>> tables[] = {
      {"TASKS", {"HOSTNAME", "LASTEXE"}}, {"FILES", {"FILE", "SYNC"}}, {"NODO", {"POS"}},
  };
  for (const auto& [table, columns] : tables) {
    for (const char* column : columns) {
      TempDatabase db;
      db.Exec(std::string("ALTER TABLE ") + table + " RENAME COLUMN \"" + column + "\" TO OLD_ONE");
      const std::string before = test::ReadBytes(db.Path());
      const std::string error = Conecta(db);
      const std::string missing = std::string("table ") + table + " has no column " + column + " ";
      EXPECT_TRUE(Has(error, db.Path()) && Has(error, missing)) << error;
      EXPECT_EQ(test::ReadBytes(db.Path()), before);
    }
    TempDatabase db;
    db.Exec(std::string("DROP TABLE ") + table);
    EXPECT_TRUE(Has(Conecta(db), std::string("table ") + table + " is missing"));
  }
}

}  // namespace
}  // namespace tandrel
