// Connecting: the connection text, the providers, and every way the file can fail to be a usable
// database. A missing file is never created.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using test::TempDatabase;

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ConectaBD, DefaultSettingsBuildTheConnectionTextAndOpenDataDbMdb) {
  TempDatabase db;
  clsArchivoINI ini(db.Folder(), "Tandrel");
  EXPECT_EQ(TextoConexion(ini, db.Folder()),
            "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db.Folder() + "\\data\\db.mdb;");

  Conexion conexion;
  ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  EXPECT_TRUE(conexion.IsOpen());
  EXPECT_EQ(conexion.Path(), db.Path());
  EXPECT_EQ(ConsultaValor(conexion, "PRAGMA journal_mode"), "delete");
  EXPECT_EQ(ConsultaValor(conexion, "PRAGMA synchronous"), "2");  // FULL
}

TEST(ConectaBD, ProvidersSQLiteAndJetSelectSQLiteAnyOtherIsNamedInTheError) {
  TempDatabase db;
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  for (const char* provider : {"SQLite;", "sqlite;", "Microsoft.Jet.OLEDB.4.0;"}) {
    ini.DB_Provider = provider;
    EXPECT_EQ(ConectaBD(conexion, ini, db.Folder()), "") << provider;
  }
  ini.DB_Provider = "SQLOLEDB;";
  const std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_NE(error.find("\"SQLOLEDB\""), std::string::npos) << error;
  EXPECT_FALSE(conexion.IsOpen());  // the earlier connection was closed first
}

TEST(ConectaBD, DataSourceEndsAtTheSemicolonAndExtraIsIgnored) {
  TempDatabase db;
  fs::create_directories(db.Folder() + "/a;b");
  fs::copy_file(db.Path(), db.Folder() + "/a;b/other.mdb");
  // The program folder may hold a ";" of its own; the setting's value still ends at its ";".
  clsArchivoINI ini(db.Folder(), "Tandrel");
  ini.DB_DataSource = "other.mdb;";
  ini.DB_Extra = "Jet OLEDB:Database Password=x;";
  Conexion conexion;
  ASSERT_EQ(ConectaBD(conexion, ini, db.Folder() + "/a;b"), "");
  EXPECT_EQ(conexion.Path(), db.Folder() + "/a;b/other.mdb");
}

TEST(ConectaBD, EveryUnusableFileGivesADescriptionNamingFileAndCause) {
  TempDatabase db;
  const std::string good = ReadBytes(db.Path());
  ASSERT_GT(good.size(), 4096u);
  struct Case {
    const char* name;
    std::string bytes;
    const char* cause;
  } cases[] = {
      {"text file", "just some words\n", "not a SQLite database"},
      {"cut inside its header", good.substr(0, 50), "damaged"},
      {"zero-filled", std::string(8192, '\0'), "not a SQLite database"},
      {"empty", "", "empty"},
  };
  clsArchivoINI ini(db.Folder(), "Tandrel");
  for (const Case& c : cases) {
    WriteBytes(db.Path(), c.bytes);
    Conexion conexion;
    const std::string error = ConectaBD(conexion, ini, db.Folder());
    EXPECT_NE(error.find(db.Path()), std::string::npos) << c.name << ": " << error;
    EXPECT_NE(error.find(c.cause), std::string::npos) << c.name << ": " << error;
    EXPECT_FALSE(conexion.IsOpen()) << c.name;
  }
}

TEST(ConectaBD, ADatabaseCutShortAfterItsFirstPageIsReportedAtConnect) {
  TempDatabase db;
  db.Exec(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)
             INSERT INTO FILES (HOSTNAME, TASK, FILE) SELECT 'PC', 1, 'Folder\File ' || i FROM n)");
  const std::string good = ReadBytes(db.Path());
  WriteBytes(db.Path(), good.substr(0, good.size() / 2));
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  const std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_NE(error.find("damaged"), std::string::npos) << error;
}

TEST(ConectaBD, AMissingFileIsAnErrorAndIsNeverCreated) {
  TempDatabase db;
  fs::remove(db.Path());
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  const std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
  EXPECT_NE(error.find(db.Path()), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(db.Path()));
}

TEST(ConectaBD, AFolderByThatNameIsNamedAsAFolder) {
  TempDatabase db;
  fs::remove(db.Path());
  fs::create_directory(db.Path());
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  const std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_NE(error.find("folder"), std::string::npos) << error;
}

TEST(ConectaBD, AReadOnlyFileIsRefusedAtConnect) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  TempDatabase db;
  fs::permissions(db.Path(), fs::perms::owner_read | fs::perms::group_read);
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  const std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
}

TEST(ConectaBD, ADatabaseHeldByAnotherProgramIsReportedAsLockedWithoutHanging) {
  TempDatabase db;
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  const std::string error = ConectaBD(conexion, ini, db.Folder());
  EXPECT_NE(error.find("locked"), std::string::npos) << error;
  EXPECT_NE(error.find(db.Path()), std::string::npos) << error;

  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
}

TEST(ConsultaValor, GivesTheFirstValueTrimmedAndEmptyForEverythingElse) {
  TempDatabase db;
  db.AddTask({.hostname = "PC1", .descr = "  padded  "});
  db.AddTask({.hostname = "PC1", .descr = std::nullopt});
  clsArchivoINI ini(db.Folder(), "Tandrel");
  Conexion conexion;
  ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");

  EXPECT_EQ(ConsultaValor(conexion, "SELECT count(*) FROM TASKS"), "2");
  EXPECT_EQ(ConsultaValor(conexion, "SELECT DESCR FROM TASKS ORDER BY ID"), "padded");
  EXPECT_EQ(ConsultaValor(conexion, "SELECT DESCR FROM TASKS WHERE ID = ?", {std::int64_t{2}}), "");
  EXPECT_EQ(ConsultaValor(conexion, "SELECT DESCR FROM TASKS WHERE ID = 99"), "");
  EXPECT_EQ(ConsultaValor(conexion, "SELECT nonsense FROM nowhere"), "");
  EXPECT_EQ(ConsultaValor(conexion, "DELETE FROM TASKS WHERE HOSTNAME = ?", {std::string("PC1")}), "");
  EXPECT_EQ(db.Value("SELECT count(*) FROM TASKS"), "0");
  conexion.Close();
  EXPECT_EQ(ConsultaValor(conexion, "SELECT 1"), "");
}

TEST(QuitaPuntoYComa, TrimsThenDropsOneSemicolon) {
  EXPECT_EQ(QuitaPuntoYComa("data\\db.mdb;"), "data\\db.mdb");
  EXPECT_EQ(QuitaPuntoYComa(" data\\db.mdb;; "), "data\\db.mdb;");
  EXPECT_EQ(QuitaPuntoYComa("  data\\db.mdb  "), "data\\db.mdb");
  EXPECT_EQ(QuitaPuntoYComa(""), "");
}

TEST(ResuelveRutaBD, RelativeRootedAndAbsolutePaths) {
  EXPECT_EQ(ResuelveRutaBD("data\\db.mdb", "/media/stick"), "/media/stick/data/db.mdb");
  EXPECT_EQ(ResuelveRutaBD("\\data\\db.mdb", "/media/stick"), "/media/stick/data/db.mdb");
  EXPECT_EQ(ResuelveRutaBD("E:\\db.mdb", "/media/stick"), "E:/db.mdb");
  EXPECT_EQ(ResuelveRutaBD("/srv/db.mdb", "/media/stick"), "/srv/db.mdb");
}

}  // namespace
}  // namespace tandrel
