// The snapshot of one task on one computer, and the entries of an analysis: both keyed by relative
// name without regard to case (Unicode case folding).
#include <gtest/gtest.h>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/clsArchivos.h"
#include "store/clsFiles.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

using test::TempDatabase;

class Ficheros : public ::testing::Test {
 protected:
  void SetUp() override {
    clsArchivoINI ini(db.Folder(), "Tandrel");
    ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  }
  TempDatabase db;
  Conexion conexion;
  clsFiles ficheros;
};

TEST_F(Ficheros, LoadsOnlyThisHostAndTaskWithEveryColumnAndTheRowId) {
  const auto rowid = db.AddFile({.hostname = "PC1", .task = 7, .file = "Docs\\Plan.txt",
                                 .creation = "20200101000000", .size = "-123",
                                 .last = "20200202000000", .access = "20200303000000",
                                 .sync = "20240404040404"});
  db.AddFile({.hostname = "pc1", .task = 7, .file = "Other.txt"});
  db.AddFile({.hostname = "PC2", .task = 7, .file = "Docs\\Plan2.txt"});
  db.AddFile({.hostname = "PC_1", .task = 7, .file = "Docs\\Plan3.txt"});
  db.AddFile({.hostname = "PC1", .task = 8, .file = "Docs\\Plan4.txt"});

  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "7"), "");
  ASSERT_EQ(ficheros.Count(), 2u);
  const clsFile& f = ficheros.Item("Docs\\Plan.txt");
  EXPECT_TRUE(f.Known());
  EXPECT_EQ(f.file, "Docs\\Plan.txt");
  EXPECT_EQ(f.Creation, "20200101000000");
  EXPECT_EQ(f.Size, "-123");
  EXPECT_EQ(f.Last, "20200202000000");
  EXPECT_EQ(f.Access, "20200303000000");
  EXPECT_EQ(f.Sync, "20240404040404");
  EXPECT_EQ(f.RowId, rowid);
  EXPECT_EQ(ficheros.At(0).RowId, rowid);
  EXPECT_FALSE(ficheros.Item("Docs\\Plan2.txt").Known());
  EXPECT_FALSE(ficheros.Item("Docs\\Plan4.txt").Known());
}

TEST_F(Ficheros, AnUnknownNameGivesTheBlankVoidRecordAndChangesNothing) {
  db.AddFile({.hostname = "PC1", .task = 1, .file = "a.txt"});
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "1"), "");
  const clsFile& blank = ficheros.Item("missing.txt");
  EXPECT_EQ(blank.Access, "VOID");
  EXPECT_FALSE(blank.Known());
  EXPECT_TRUE(blank.file.empty());
  EXPECT_TRUE(blank.Size.empty());
  EXPECT_TRUE(blank.Last.empty());
  EXPECT_FALSE(ficheros.Item("other.txt").Known());
  EXPECT_EQ(ficheros.Count(), 1u);
}

TEST_F(Ficheros, NamesMatchByUnicodeCaseFolding) {
  db.AddFile({.hostname = "PC1", .task = 1, .file = "Docs\\Résumé.TXT"});
  db.AddFile({.hostname = "PC1", .task = 1, .file = "Straße.txt"});
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "1"), "");
  EXPECT_TRUE(ficheros.Item("docs\\RÉSUMÉ.txt").Known());
  EXPECT_TRUE(ficheros.Item("STRASSE.TXT").Known());  // full folding: ß is ss
  EXPECT_FALSE(ficheros.Item("Docs/Résumé.TXT").Known());  // "\" joins a name's parts, always
  EXPECT_FALSE(ficheros.Item("Docs\\Re\xCC\x81sume\xCC\x81.TXT").Known());  // no normalisation
}

TEST_F(Ficheros, NullColumnsReadEmptyAndASecondRowOfANameKeepsTheFirst) {
  const auto first = db.AddFile({.hostname = "PC1", .task = 1, .file = "a.txt", .size = std::nullopt,
                                 .last = std::nullopt, .access = std::nullopt});
  const auto second = db.AddFile({.hostname = "PC1", .task = 1, .file = "A.TXT", .size = "5"});
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "1"), "");
  const clsFile& f = ficheros.Item("a.txt");
  EXPECT_EQ(f.RowId, first);
  EXPECT_TRUE(f.Size.empty());
  EXPECT_TRUE(f.Last.empty());
  EXPECT_TRUE(f.Access.empty());
  EXPECT_TRUE(f.Known());
  // Both rows stay listed, so that a run replaces both.
  ASSERT_EQ(ficheros.Count(), 2u);
  EXPECT_EQ(ficheros.At(1).RowId, second);
}

TEST_F(Ficheros, CargaReplacesTheRecordsAndAnErrorLeavesNone) {
  db.AddFile({.hostname = "PC1", .task = 1, .file = "a.txt"});
  db.AddFile({.hostname = "PC1", .task = 2, .file = "b.txt"});
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "1"), "");
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", " 2 "), "");
  EXPECT_EQ(ficheros.Count(), 1u);
  EXPECT_FALSE(ficheros.Item("a.txt").Known());
  EXPECT_TRUE(ficheros.Item("b.txt").Known());
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "2' OR '1'='1"), "");
  EXPECT_EQ(ficheros.Count(), 0u);
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "3"), "");
  EXPECT_EQ(ficheros.Count(), 0u);
  db.Exec("DROP TABLE FILES");
  EXPECT_NE(ficheros.Carga(conexion, "PC1", "1"), "");
  EXPECT_EQ(ficheros.Count(), 0u);
}

clsArchivo Entrada(std::string nombre, std::string ruta = "") {
  clsArchivo a;
  a.Nombre = std::move(nombre);
  a.USB_Ruta = std::move(ruta);
  return a;
}

TEST(clsArchivos, KeysIgnoreCaseTheFirstEntryStaysAndOrderIsOfAddition) {
  clsArchivos archivos;
  EXPECT_FALSE(archivos.Exist("a"));
  EXPECT_EQ(archivos.Find("a"), nullptr);
  EXPECT_TRUE(archivos.Add(Entrada("Docs\\Résumé.txt", "first")));
  EXPECT_TRUE(archivos.Add(Entrada("Straße")));
  EXPECT_TRUE(archivos.Add(Entrada("Ñandú")));
  EXPECT_FALSE(archivos.Add(Entrada("DOCS\\RÉSUMÉ.TXT", "second")));
  EXPECT_FALSE(archivos.Add(Entrada("STRASSE")));
  EXPECT_FALSE(archivos.Add(Entrada("")));
  EXPECT_TRUE(archivos.Add(Entrada("Docs\\Re\xCC\x81sume\xCC\x81.txt")));  // another name
  ASSERT_EQ(archivos.Count(), 4u);

  EXPECT_TRUE(archivos.Exist("docs\\résumé.TXT"));
  EXPECT_TRUE(archivos.Exist("ñANDÚ"));
  EXPECT_TRUE(archivos.Exist("strasse"));
  EXPECT_FALSE(archivos.Exist("Docs"));
  EXPECT_EQ(archivos.Item("DOCS\\résumé.txt").USB_Ruta, "first");
  EXPECT_EQ(archivos.ITemID(1).Nombre, "Docs\\Résumé.txt");
  EXPECT_EQ(archivos.ITemID(3).Nombre, "Ñandú");
  archivos.Item("ñandú").Action = "C1";
  EXPECT_EQ(archivos.ITemID(3).Action, "C1");
}

TEST(clsArchivos, StaysRightAcrossGrowthAndReserve) {
  clsArchivos archivos;
  archivos.Reserve(10);
  archivos.Add(Entrada("First"));
  const clsArchivo* first = &archivos.ITemID(1);
  for (int i = 0; i < 5000; ++i) archivos.Add(Entrada("Folder\\File" + std::to_string(i) + ".TXT"));
  ASSERT_EQ(archivos.Count(), 5001u);
  EXPECT_EQ(&archivos.Item("FIRST"), first);  // entries never move
  EXPECT_EQ(archivos.ITemID(5001).Nombre, "Folder\\File4999.TXT");
  for (int i = 0; i < 5000; i += 7) {
    const clsArchivo* a = archivos.Find("folder\\file" + std::to_string(i) + ".txt");
    ASSERT_NE(a, nullptr) << i;
    EXPECT_EQ(a->Nombre, "Folder\\File" + std::to_string(i) + ".TXT");
  }
  EXPECT_FALSE(archivos.Exist("folder\\file5000.txt"));
  // Moved as a whole when an analysis replaces it.
  clsArchivos otra = std::move(archivos);
  EXPECT_TRUE(otra.Exist("FOLDER\\FILE4999.TXT"));
  EXPECT_EQ(&otra.ITemID(1), first);
  archivos = clsArchivos();
  EXPECT_EQ(archivos.Count(), 0u);
  EXPECT_FALSE(archivos.Exist("first"));
}

}  // namespace
}  // namespace tandrel
