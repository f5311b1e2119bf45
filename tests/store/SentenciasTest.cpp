// The statements on a real database: what each reads or changes, and that a host name is a plain
// name (no pattern, no quoting) compared without regard to ASCII case.
#include <gtest/gtest.h>

#include "store/Sentencias.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

using Sentencias = test::ConnectedDatabase;

TEST_F(Sentencias, AHostSeesOnlyItsOwnTasksOrderedByDescription) {
  for (const char* host : {"PC_1", "PCX1", "O'Brien", "100%", "pc_1", "ÉQUIPE"}) {
    db.AddTask({.hostname = host, .descr = std::string("of ") + host});
  }
  db.AddTask({.hostname = "PC_1", .descr = "Alpha"});
  db.AddTask({.hostname = "PC_1"});
  const std::pair<const char*, const char*> cases[] = {
      {"PC_1", ",Alpha,of PC_1,of pc_1,"}, {"PC%", ""}, {"o'brien", "of O'Brien,"},
      {"10%", ""}, {"équipe", ""}};
  for (const auto& [host, descripciones] : cases) {
    std::vector<clsTarea> tareas;
    EXPECT_EQ(LeeTareasDeHost(conexion, host, tareas), "");
    std::string text;
    for (const clsTarea& t : tareas) text += t.Descripcion + ",";
    EXPECT_EQ(text, descripciones) << host;
    EXPECT_EQ(CuentaTareas(conexion, host), std::to_string(tareas.size()));
  }
}

TEST_F(Sentencias, DeletesAndTheStampReachTheirOwnRowsOnly) {
  const auto t1 = db.AddTask({.hostname = "PC1"});
  const auto t2 = db.AddTask({.hostname = "PC1"});
  for (const char* host : {"PC1", "pc1", "PC_1", "PC2"}) {
    db.AddFile({.hostname = host, .task = t1, .file = "a"});
    db.AddFile({.hostname = host, .task = t2, .file = "a"});
  }
  ASSERT_EQ(BorraFicherosDeHost(conexion, "PC1", t1), "");
  EXPECT_EQ(db.Value("SELECT group_concat(HOSTNAME || ':' || (TASK = " + std::to_string(t1) +
                     "), ' ') FROM (SELECT * FROM FILES ORDER BY rowid)"),
            "PC1:0 pc1:0 PC_1:1 PC_1:0 PC2:1 PC2:0");
  ASSERT_EQ(ActualizaLastExe(conexion, t1, "20240131235959"), "");
  EXPECT_EQ(db.Value("SELECT group_concat(LASTEXE) FROM TASKS"), "20240131235959,00000000000000");
}

}  // namespace
}  // namespace tandrel
