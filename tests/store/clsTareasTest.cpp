// Loading this computer's tasks and saving one back.
#include <gtest/gtest.h>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/clsTareas.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

using test::TempDatabase;

class Tareas : public ::testing::Test {
 protected:
  void SetUp() override {
    clsArchivoINI ini(db.Folder(), "Tandrel");
    ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  }
  TempDatabase db;
  Conexion conexion;
  clsTareas tareas;
};

TEST_F(Tareas, EveryMemberIsReadFromItsColumn) {
  const auto id = db.AddTask({.hostname = "PC1", .type = 1, .left = "\\Docs", .right = "/home/a",
                              .leftopt = "RN", .rightopt = "NEAR", .descr = "Docs",
                              .options = "ARO", .lastexe = "20240101120000"});
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  ASSERT_EQ(tareas.Count(), 1);
  const clsTarea& t = tareas.ITem1(1);
  EXPECT_EQ(t.ID, id);
  EXPECT_EQ(t.Tipo, 1);
  EXPECT_EQ(t.Descripcion, "Docs");
  EXPECT_EQ(t.Left, "\\Docs");
  EXPECT_EQ(t.Right, "/home/a");
  EXPECT_EQ(t.LastEXE, "20240101120000");
  EXPECT_EQ(t.LeftOPT, "RN");
  EXPECT_EQ(t.RightOPT, "NEAR");
  EXPECT_EQ(t.OPTIONS, "ARO");
  EXPECT_EQ(t.AutoRun, 1);
}

TEST_F(Tareas, NullAndUnconvertibleColumnsLeaveEmptyOrZero) {
  db.AddTask({.hostname = "PC1", .type = std::nullopt, .left = std::nullopt, .right = std::nullopt,
              .leftopt = std::nullopt, .rightopt = std::nullopt, .descr = std::nullopt,
              .options = std::nullopt, .lastexe = std::nullopt});
  db.Exec("INSERT INTO TASKS (HOSTNAME, TYPE, DESCR) VALUES ('PC1', 'one', 'z1')");
  db.Exec("INSERT INTO TASKS (HOSTNAME, TYPE, DESCR) VALUES ('PC1', 70000, 'z2')");
  db.Exec("INSERT INTO TASKS (HOSTNAME, TYPE, DESCR) VALUES ('PC1', '2', 'z3')");
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  ASSERT_EQ(tareas.Count(), 4);
  const clsTarea& nulos = tareas.ITem1(1);
  EXPECT_GT(nulos.ID, 0);
  EXPECT_EQ(nulos.Tipo, 0);
  EXPECT_EQ(nulos.Descripcion, "");
  EXPECT_EQ(nulos.Left, "");
  EXPECT_EQ(nulos.LastEXE, "");
  EXPECT_EQ(nulos.OPTIONS, "");
  EXPECT_EQ(nulos.AutoRun, 0);
  EXPECT_EQ(tareas.ITem1(2).Tipo, 0);  // 'one'
  EXPECT_EQ(tareas.ITem1(3).Tipo, 0);  // beyond 16 bits
  EXPECT_EQ(tareas.ITem1(4).Tipo, 2);  // a number written as text
}

TEST_F(Tareas, AutoRunTakesOnlyAnUpperCaseA) {
  const char* options[] = {"A", "RA", "OR", "a", "", "xAx"};
  const std::int16_t expected[] = {1, 1, 0, 0, 0, 1};
  for (const char* o : options) db.AddTask({.hostname = "PC1", .descr = o, .options = o});
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  ASSERT_EQ(tareas.Count(), 6);
  for (int i = 1; i <= tareas.Count(); ++i) {
    const clsTarea& t = tareas.ITem1(i);
    const auto at = std::find_if(std::begin(options), std::end(options),
                                 [&](const char* o) { return t.OPTIONS == o; });
    EXPECT_EQ(t.AutoRun, expected[at - std::begin(options)]) << t.OPTIONS;
  }
}

TEST_F(Tareas, CargaReplacesTheListAndAHostWithoutTasksGivesNone) {
  db.AddTask({.hostname = "PC1"});
  db.AddTask({.hostname = "PC2", .left = "\\Same"});
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  EXPECT_EQ(tareas.Count(), 1);
  ASSERT_EQ(tareas.Carga(conexion, "PC3"), "");
  EXPECT_EQ(tareas.Count(), 0);
  conexion.Close();
  EXPECT_NE(tareas.Carga(conexion, "PC1"), "");
  EXPECT_EQ(tareas.Count(), 0);
}

TEST_F(Tareas, GuardaRewritesHostnameAndMembersButNeverIdOrLastExe) {
  const auto id = db.AddTask({.hostname = "pc1", .left = "\\Old", .descr = "Old",
                              .lastexe = "20200101000000"});
  const auto other = db.AddTask({.hostname = "PC1", .descr = "Other"});
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  ASSERT_EQ(tareas.Count(), 2);
  clsTarea& t = tareas.ITem1(1);
  ASSERT_EQ(t.ID, id);
  t.Tipo = 1;
  t.Left = "\\New";
  t.Right = "/srv/new";
  t.LeftOPT = "NR";
  t.RightOPT = "E";
  t.Descripcion = "It's 100% new";
  t.OPTIONS = "O";
  t.LastEXE = "29991231235959";
  ASSERT_EQ(t.Guarda(conexion, "PC1"), "");
  EXPECT_EQ(db.Value("SELECT HOSTNAME || '|' || TYPE || '|' || \"LEFT\" || '|' || \"RIGHT\" || '|' || "
                     "LEFTOPT || '|' || RIGHTOPT || '|' || DESCR || '|' || OPTIONS || '|' || LASTEXE "
                     "FROM TASKS WHERE ID = " + std::to_string(id)),
            "PC1|1|\\New|/srv/new|NR|E|It's 100% new|O|20200101000000");
  EXPECT_EQ(db.Value("SELECT DESCR FROM TASKS WHERE ID = " + std::to_string(other)), "Other");

  // A row that has gone: nothing written, nothing reported.
  db.Exec("DELETE FROM TASKS WHERE ID = " + std::to_string(id));
  EXPECT_EQ(t.Guarda(conexion, "PC1"), "");
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS"), 1);
}

}  // namespace
}  // namespace tandrel
