// Exclusion masks: which rows load, and when a mask matches a full path.
#include <gtest/gtest.h>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/clsMascaras.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

using test::TempDatabase;

clsMascaras Una(std::string mask, std::int16_t pos) {
  clsMascaras m;
  m.Add({std::move(mask), pos});
  return m;
}

TEST(clsMascaras, MatchesByPositionSeparatorAndCase) {
  struct Case {
    const char* mask;
    std::int16_t pos;
    const char* path;
    bool excluded;
  } cases[] = {
      {".tmp", 0, "C:\\Work\\Notes.tmp", true},
      {".tmp", 0, "C:\\Work\\A.tmp.doc", true},       // a plain substring test
      {"Work", 4, "C:\\Work\\File.txt", true},        // begins at the 4th character
      {"Work", 5, "C:\\Work\\File.txt", false},
      {"Work", 1, "C:\\Work\\File.txt", true},
      {"Work", -3, "C:\\Work\\File.txt", true},       // negative counts as 0
      {"Work", 200, "C:\\Work\\File.txt", false},     // beyond the path
      {"", 0, "C:\\Work\\File.txt", true},            // empty mask: every path...
      {"", 16, "C:\\Work\\File.txt", true},           // ...at least as long as its start
      {"", 17, "C:\\Work\\File.txt", false},
      {"", 0, "", false},
      {".MP3", 0, "/music/Song.mp3", false},          // case-sensitive
      {".mp3", 0, "/music/Song.mp3", true},
      {"\\Temp\\", 0, "/home/ana/Temp/x", true},      // "\" and "/" are one character
      {"/Temp/", 0, "C:\\Temp\\x", true},
      {"\\Temp\\", 0, "/home/ana/Temporal/x", false},
      {"Año", 3, "/Año/x", false},                     // positions count code points:
      {"Año", 2, "/Año/x", true},                      // "Año" begins at the 2nd
      {"x", 6, "/Año/x", true},
      {"x", 7, "/Año/x", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Una(c.mask, c.pos).Comprueba(c.path), c.excluded)
        << "mask \"" << c.mask << "\" pos " << c.pos << " path \"" << c.path << "\"";
  }
  EXPECT_FALSE(clsMascaras().Comprueba("/any/path"));
}

TEST(clsMascaras, AnyOfSeveralMasksExcludes) {
  clsMascaras m;
  m.Add({".bak", 0});
  m.Add({"~", 0});
  EXPECT_TRUE(m.Comprueba("/a/b.bak"));
  EXPECT_TRUE(m.Comprueba("/a/~b"));
  EXPECT_FALSE(m.Comprueba("/a/b.txt"));
}

class Mascaras : public ::testing::Test {
 protected:
  void SetUp() override {
    clsArchivoINI ini(db.Folder(), "Tandrel");
    ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  }
  TempDatabase db;
  Conexion conexion;
  clsMascaras mascaras;
};

TEST_F(Mascaras, LoadsTheMasksOfEveryTaskAndOfItsOwnIdOnly) {
  db.AddMask(0, ".tmp", 0);
  db.AddMask(5, "Cache", 3);
  db.AddMask(6, ".mp3", 0);
  ASSERT_EQ(mascaras.Carga(conexion, 5), "");
  EXPECT_EQ(mascaras.Count(), 2u);
  EXPECT_TRUE(mascaras.Comprueba("/x/a.tmp"));
  EXPECT_TRUE(mascaras.Comprueba("/x/Cache/a"));
  EXPECT_FALSE(mascaras.Comprueba("/x/a.mp3"));

  ASSERT_EQ(mascaras.Carga(conexion, 7), "");
  EXPECT_EQ(mascaras.Count(), 1u);
  EXPECT_FALSE(mascaras.Comprueba("/x/Cache/a"));
}

TEST_F(Mascaras, OddRowsLoadSafely) {
  db.AddMask(1, std::nullopt, 0);      // no mask: left out, it would exclude everything
  db.AddMask(1, "a", std::nullopt);    // no position: anywhere
  db.AddMask(1, "b", 100000);          // beyond 16 bits: never within a path
  db.AddMask(1, "it's 100%", 0);       // nothing in a mask is SQL or a pattern
  ASSERT_EQ(mascaras.Carga(conexion, 1), "");
  EXPECT_EQ(mascaras.Count(), 3u);
  EXPECT_TRUE(mascaras.Comprueba("/x/a"));
  EXPECT_FALSE(mascaras.Comprueba("/x/b"));
  EXPECT_TRUE(mascaras.Comprueba("/x/it's 100%"));
  EXPECT_FALSE(mascaras.Comprueba("/x/it's 1000"));
}

TEST_F(Mascaras, WithoutRowsNothingIsExcludedAndAnErrorLeavesNoMask) {
  ASSERT_EQ(mascaras.Carga(conexion, 1), "");
  EXPECT_FALSE(mascaras.Comprueba("/x/a.tmp"));
  db.AddMask(0, "", 0);
  ASSERT_EQ(mascaras.Carga(conexion, 1), "");
  EXPECT_TRUE(mascaras.Comprueba("/x/a.tmp"));
  db.Exec("DROP TABLE NODO");
  EXPECT_NE(mascaras.Carga(conexion, 1), "");
  EXPECT_EQ(mascaras.Count(), 0u);
}

}  // namespace
}  // namespace tandrel
