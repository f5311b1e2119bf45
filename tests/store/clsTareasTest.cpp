// Loading this computer's tasks and saving one back.
#include <gtest/gtest.h>

#include "store/clsTareas.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

class Tareas : public test::ConnectedDatabase {
 protected:
  clsTareas tareas;
};

TEST_F(Tareas, EveryMemberIsReadFromItsColumn) {
  const auto id = db.AddTask({.hostname = "PC1", .type = 1, .left = "\\Docs", .right = "/home/a",
                              .leftopt = "RN", .rightopt = "NEAR", .descr = "Docs",
                              .options = "ARO", .lastexe = "20240101120000"});
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  ASSERT_EQ(tareas.Count(), 1);
  const clsTarea& t = tareas.ITem1(1);
  EXPECT_EQ(std::tuple(t.ID, t.Tipo, t.AutoRun), std::tuple(id, 1, 1));
  EXPECT_EQ(t.Descripcion + t.Left + t.Right + t.LastEXE + t.LeftOPT + t.RightOPT + t.OPTIONS,
            "Docs\\Docs/home/a20240101120000RNNEARARO");
}

TEST_F(Tareas, NullOrUnconvertibleColumnsLeaveEmptyOrZeroAndAutoRunNeedsAnUpperCaseA) {
  db.AddTask({.hostname = "PC1", .type = std::nullopt, .lastexe = std::nullopt});
  db.Exec("INSERT INTO TASKS (HOSTNAME, TYPE, DESCR, OPTIONS) VALUES ('PC1', 'one', 'b', 'a'), "
          "('PC1', 70000, 'c', 'OR'), ('PC1', '2', 'd', 'xAx')");
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  ASSERT_EQ(tareas.Count(), 4);
  const clsTarea& nulos = tareas.ITem1(1);
  EXPECT_GT(nulos.ID, 0);
  EXPECT_EQ(nulos.Descripcion + nulos.Left + nulos.Right + nulos.LastEXE + nulos.OPTIONS, "");
  std::string tipoYAutoRun;  // per task: its type and whether it starts by itself
  for (int i = 1; i <= 4; ++i)
    tipoYAutoRun += std::to_string(tareas.ITem1(i).Tipo) + std::to_string(tareas.ITem1(i).AutoRun) + " ";
  EXPECT_EQ(tipoYAutoRun, "00 00 00 21 ");
  conexion.Close();
  EXPECT_NE(tareas.Carga(conexion, "PC1"), "");
  EXPECT_EQ(tareas.Count(), 0);
}

// The columns a save writes are checked where tasks are saved (TaskEditing); here, the rows it
// must not touch.
TEST_F(Tareas, GuardaWritesItsOwnRowOnlyAndAGoneRowIsNoError) {
  const auto id = db.AddTask({.hostname = "pc1", .descr = "Old"});
  const auto other = db.AddTask({.hostname = "PC1", .descr = "Other"});
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  clsTarea& t = tareas.ITem1(1);
  ASSERT_EQ(t.ID, id);
  t.Descripcion = "It's 100% new";
  ASSERT_EQ(t.Guarda(conexion, "PC1"), "");
  EXPECT_EQ(db.Value("SELECT group_concat(DESCR, '|') FROM TASKS"), "It's 100% new|Other");
  db.Exec("DELETE FROM TASKS WHERE ID = " + std::to_string(id));
  EXPECT_EQ(t.Guarda(conexion, "PC1"), "");
  EXPECT_EQ(db.Value("SELECT group_concat(ID) FROM TASKS"), std::to_string(other));
}

}  // namespace
}  // namespace tandrel
