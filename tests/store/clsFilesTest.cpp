// The snapshot of one task on one computer, and the entries of an analysis: both keyed by relative
// name without regard to case (Unicode case folding, no normalisation).
#include <gtest/gtest.h>

#include "store/clsArchivos.h"
#include "store/clsFiles.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

// "e" followed by a combining acute accent: the same letter to a reader, another name to the disk.
constexpr const char* kDecomposed = "Docs\\Re\xCC\x81sume\xCC\x81.txt";

using Ficheros = test::ConnectedDatabase;

// A NULL column reads empty; a second row of a name leaves the first answering, and both are
// listed so that a run replaces both.
TEST_F(Ficheros, LoadsOnlyThisHostAndTaskWithEveryColumnAndTheRowId) {
  const auto rowid = db.AddFile({.hostname = "PC1", .task = 7, .file = "Docs\\Résumé.txt",
                                 .creation = "20200101000000", .size = "-123",
                                 .last = "20200202000000", .access = "20200303000000",
                                 .sync = "20240404040404"});
  db.AddFile({.hostname = "pc1", .task = 7, .file = "Straße.txt"});
  db.AddFile({.hostname = "PC_1", .task = 7, .file = "Other1"});
  db.AddFile({.hostname = "PC1", .task = 8, .file = "Other2"});
  const auto first = db.AddFile({.hostname = "PC1", .task = 7, .file = "a.txt",
                                 .size = std::nullopt, .access = std::nullopt});
  const auto second = db.AddFile({.hostname = "PC1", .task = 7, .file = "A.TXT"});
  clsFiles ficheros;
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "7"), "");
  ASSERT_EQ(ficheros.Count(), 4u);
  const clsFile& f = ficheros.Item("DOCS\\RÉSUMÉ.TXT");
  EXPECT_EQ(std::string(f.file) + f.Creation + f.Size + f.Last + f.Access + f.Sync,
            "Docs\\Résumé.txt20200101000000-123202002020000002020030300000020240404040404");
  EXPECT_EQ(f.RowId, rowid);
  EXPECT_TRUE(ficheros.Item("STRAẞE.TXT").Known());
  EXPECT_FALSE(ficheros.Item("STRASSE.TXT").Known());  // simple folding: ß is not ss
  const clsFile& nulls = ficheros.Item("a.txt");
  EXPECT_TRUE(nulls.Size.empty() && nulls.Access.empty() && nulls.Known() && nulls.RowId == first);
  EXPECT_EQ(ficheros.At(3).RowId, second);
  for (const char* absent : {"Other1", "Other2", "Docs/Résumé.txt", kDecomposed}) {
    const clsFile& blank = ficheros.Item(absent);
    EXPECT_EQ(std::string(blank.file) + blank.Size + blank.Last + "|" + blank.Access, "|VOID");
  }
  EXPECT_EQ(ficheros.Count(), 4u);

  // Entries view the snapshot's copy of a name only where it is spelt the same, and keep it
  // past the next load.
  clsArchivos archivos;
  archivos.ShareNames(ficheros);
  for (const char* nombre : {"a.txt", "B.TXT"}) {
    clsArchivo archivo;
    archivo.Nombre = nombre;
    ASSERT_TRUE(archivos.AddMoving(archivo));
  }
  ASSERT_EQ(ficheros.Carga(conexion, "PC1", "7' OR '1'='1"), "");
  EXPECT_EQ(ficheros.Count(), 0u);
  EXPECT_EQ(archivos.ITemID(1).Nombre.str() + archivos.ITemID(2).Nombre, "a.txtB.TXT");
}

clsArchivo Entrada(std::string nombre, std::string ruta = "") {
  clsArchivo a;
  a.Nombre = std::move(nombre);
  a.USB_Ruta = std::move(ruta);
  return a;
}

// "STRASSE" is another file: only full folding makes ß ss. A path past the inline room of a text
// must be kept whole.
TEST(clsArchivos, KeysIgnoreCaseTheFirstEntryStaysAndEntriesNeverMove) {
  clsArchivos archivos;
  const std::pair<const char*, bool> added[] = {
      {"Docs\\Résumé.txt", true}, {"Straße", true},  {"DOCS\\RÉSUMÉ.TXT", false},
      {"STRAẞE", false},          {"STRASSE", true}, {"", false}, {kDecomposed, true}};
  for (const auto& [nombre, first] : added) {
    const std::string ruta = "/s/" + std::string(nombre) + " past the inline room";
    EXPECT_EQ(archivos.Add(Entrada(nombre, ruta)), first) << nombre;
  }
  ASSERT_EQ(archivos.Count(), 4u);
  EXPECT_FALSE(archivos.Exist("Docs"));
  const clsArchivo* first = &archivos.Item("docs\\résumé.TXT");
  EXPECT_EQ(first->USB_Ruta, "/s/Docs\\Résumé.txt past the inline room");
  for (int i = 0; i < 5000; ++i) archivos.Add(Entrada("Folder\\File" + std::to_string(i) + ".TXT"));
  EXPECT_EQ(&archivos.Item("docs\\résumé.txt"), first);
  EXPECT_EQ(archivos.Find("folder\\file4321.txt"), &archivos.ITemID(4 + 4322));
  clsArchivo copia;
  {
    clsArchivos otra = std::move(archivos);  // an analysis replaces the whole collection
    EXPECT_EQ(otra.Find("DOCS\\résumé.txt"), first);
    copia = otra.ITemID(5);  // a copy's name outlives the collection that kept the original
  }
  EXPECT_EQ(copia.Nombre, "Folder\\File0.TXT");
}

}  // namespace
}  // namespace tandrel
