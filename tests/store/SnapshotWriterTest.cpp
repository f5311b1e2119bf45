// rsFiles: rows written in batches, replaced by rowid, durable only once committed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/Sentencias.h"
#include "store/SnapshotWriter.h"
#include "store/clsFiles.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

using test::TempDatabase;

class Writer : public ::testing::Test {
 protected:
  void SetUp() override {
    clsArchivoINI ini(db.Folder(), "Tandrel");
    ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
    ASSERT_EQ(writer.Open(conexion), "");
  }
  SnapshotRow Row(std::string file) {
    SnapshotRow row;
    row.HOSTNAME = "PC1";
    row.TASK = 4;
    row.FILE = std::move(file);
    row.CREATION = "20200101000000";
    row.SIZE = "42";
    row.LAST = "20200202000000";
    row.ACCESS = "20200303000000";
    row.SYNC = "20240404040404";
    return row;
  }
  TempDatabase db;
  Conexion conexion;
  SnapshotWriter writer;
};

TEST_F(Writer, RowsOfABatchAppearAtCommitWithTheNineColumns) {
  EXPECT_TRUE(writer.IsOpen());
  EXPECT_FALSE(writer.InBatch());
  ASSERT_TRUE(writer.AddRow(Row("Docs\\It's 100%.txt")));
  ASSERT_TRUE(writer.AddRow(Row("b.txt")));
  EXPECT_TRUE(writer.InBatch());
  // Another connection sees nothing before the commit.
  EXPECT_EQ(db.Value("SELECT count(*) FROM FILES"), "0");
  ASSERT_TRUE(writer.Commit());
  EXPECT_FALSE(writer.InBatch());
  EXPECT_TRUE(writer.Commit());  // nothing open: nothing to do
  EXPECT_EQ(db.Value("SELECT HOSTNAME || '|' || TASK || '|' || FILE || '|' || CREATION || '|' || "
                     "SIZE || '|' || LAST || '|' || ACCESS || '|' || STATE || '|' || SYNC "
                     "FROM FILES ORDER BY rowid LIMIT 1"),
            "PC1|4|Docs\\It's 100%.txt|20200101000000|42|20200202000000|20200303000000|ACTIVE|"
            "20240404040404");
  clsFiles ficheros;
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "4"), "");
  EXPECT_EQ(ficheros.Count(), 2u);
}

TEST_F(Writer, ARowReplacedByItsRowIdInTheSameBatch) {
  const auto old = db.AddFile({.hostname = "PC1", .task = 4, .file = "a.txt", .size = "1"});
  const auto kept = db.AddFile({.hostname = "PC1", .task = 4, .file = "b.txt"});
  clsFiles ficheros;
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "4"), "");
  ASSERT_TRUE(writer.DeleteRow(ficheros.Item("A.TXT").RowId));
  ASSERT_TRUE(writer.AddRow(Row("A.txt")));
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(db.Value("SELECT group_concat(FILE || '=' || SIZE) FROM (SELECT * FROM FILES ORDER BY rowid)"),
            "b.txt=100,A.txt=42");
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES WHERE rowid = " + std::to_string(old)), 0);
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES WHERE rowid = " + std::to_string(kept)), 1);
}

TEST_F(Writer, CloseDropsAnUncommittedBatch) {
  ASSERT_TRUE(writer.AddRow(Row("a.txt")));
  writer.Close();
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_FALSE(writer.InBatch());
  EXPECT_EQ(db.Value("SELECT count(*) FROM FILES"), "0");
  EXPECT_FALSE(writer.AddRow(Row("a.txt")));
  EXPECT_NE(writer.LastError(), "");
}

TEST_F(Writer, ABatchThatCannotTakeTheWriteLockFailsWithoutHanging) {
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_FALSE(writer.AddRow(Row("a.txt")));
  EXPECT_NE(writer.LastError().find("locked"), std::string::npos) << writer.LastError();
  EXPECT_FALSE(writer.InBatch());
  sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_TRUE(writer.AddRow(Row("a.txt")));
  EXPECT_TRUE(writer.Commit());
}

TEST_F(Writer, OpenWithoutTheTableFilesSaysSo) {
  writer.Close();
  db.Exec("DROP TABLE FILES");
  clsArchivoINI ini(db.Folder(), "Tandrel");
  ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  const std::string error = writer.Open(conexion);
  EXPECT_NE(error.find("FILES"), std::string::npos) << error;
  EXPECT_FALSE(writer.IsOpen());
  conexion.Close();
  EXPECT_NE(writer.Open(conexion), "");
}

}  // namespace
}  // namespace tandrel
