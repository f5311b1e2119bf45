// rsFiles: rows written in batches, replaced by rowid, kept only once committed.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "store/SnapshotWriter.h"
#include "store/clsFiles.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

SnapshotRow Row(std::string file) {
  return {"PC1", 4, std::move(file), "20200101000000", "42", "20200202000000", "20200303000000",
          "ACTIVE", "20240404040404"};
}

using Writer = test::ConnectedDatabase;

// A batch that cannot take the write lock fails at once instead of hanging. A removal followed by
// a row rewrites the row in place, or, for a row of another spelling of the host, writes it anew
// as the run spells the host; of two removals in a row the last one is carried out only by the
// commit. Nothing shows before the commit; a batch closed before it is dropped.
TEST_F(Writer, ABatchReplacesRowsByRowIdAndShowsOnlyAtCommit) {
  for (const char* file : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"})
    db.AddFile({.hostname = file[0] == 'b' ? "pc1" : "PC1", .task = 4, .file = file});
  clsFiles ficheros;
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "4"), "");
  SnapshotWriter writer;
  ASSERT_EQ(writer.Open(conexion), "");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_FALSE(writer.AddRow(Row("a.txt")));
  EXPECT_NE(writer.LastError().find("locked"), std::string::npos) << writer.LastError();
  sqlite3_close(other);

  ASSERT_TRUE(writer.DeleteRow(ficheros.Item("A.TXT").RowId));
  ASSERT_TRUE(writer.AddRow(Row("It's 100%.txt")));
  ASSERT_TRUE(writer.DeleteRow(ficheros.Item("b.txt").RowId));
  ASSERT_TRUE(writer.AddRow(Row("b.txt")));
  ASSERT_TRUE(writer.DeleteRow(ficheros.Item("c.txt").RowId));
  ASSERT_TRUE(writer.DeleteRow(ficheros.Item("d.txt").RowId));
  const auto files = [&] {
    return db.Value("SELECT group_concat(HOSTNAME || ':' || FILE || '=' || SIZE, ' ') FROM "
                    "(SELECT * FROM FILES ORDER BY rowid)");
  };
  EXPECT_EQ(files(), "PC1:a.txt=100 pc1:b.txt=100 PC1:c.txt=100 PC1:d.txt=100 PC1:e.txt=100");
  ASSERT_TRUE(writer.Commit());
  const std::string after = "PC1:It's 100%.txt=42 PC1:e.txt=100 PC1:b.txt=42";
  EXPECT_EQ(files(), after);
  EXPECT_EQ(db.Value("SELECT HOSTNAME || TASK || CREATION || LAST || ACCESS || STATE || SYNC "
                     "FROM FILES WHERE SIZE = '42'"),
            "PC14202001010000002020020200000020200303000000ACTIVE20240404040404");

  ASSERT_TRUE(writer.AddRow(Row("f.txt")));
  writer.Close();
  EXPECT_EQ(files(), after);
}

}  // namespace
}  // namespace tandrel
