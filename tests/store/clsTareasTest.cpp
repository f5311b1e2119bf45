// Loading this computer's tasks and saving one back.
#include <gtest/gtest.h>

#include "store/clsTareas.h"
#include "tests/support/ConnectedDatabase.h"

namespace tandrel {
namespace {

using Tareas = test::ConnectedDatabase;

// Per task: type, auto-start (an upper-case "A" only), then every text member; a NULL or a value
// that does not convert leaves it empty or 0.
TEST_F(Tareas, EveryMemberIsReadFromItsColumnOrLeftEmpty) {
  const auto id = db.AddTask({.hostname = "PC1", .type = 1, .left = "\\Docs", .right = "/home/a",
                              .leftopt = "RN", .rightopt = "NEAR", .descr = "Docs",
                              .options = "ARO", .lastexe = "20240101120000"});
  db.AddTask({.hostname = "PC1", .type = std::nullopt, .lastexe = std::nullopt});
  db.Exec("INSERT INTO TASKS (HOSTNAME, TYPE, DESCR, OPTIONS) VALUES ('PC1', 'one', 'b', 'a'), "
          "('PC1', 70000, 'c', 'OR'), ('PC1', '2', 'd', 'xAx')");
  clsTareas tareas;
  ASSERT_EQ(tareas.Carga(conexion, "PC1"), "");
  std::vector<std::string> filas;
  for (int i = 1; i <= tareas.Count(); ++i) {
    const clsTarea& t = tareas.ITem1(i);
    filas.push_back(std::to_string(t.Tipo) + std::to_string(t.AutoRun) + " " + t.Descripcion + "|" +
                    t.Left + "|" + t.Right + "|" + t.LastEXE + "|" + t.LeftOPT + "|" + t.RightOPT +
                    "|" + t.OPTIONS);
  }
  EXPECT_EQ(filas, (std::vector<std::string>{
                       "00 ||||||", "00 b||||||a", "00 c||||||OR", "21 d||||||xAx",
                       "11 Docs|\\Docs|/home/a|20240101120000|RN|NEAR|ARO"}));
  EXPECT_EQ(tareas.ITem1(5).ID, id);
}

// The columns a save writes are checked where tasks are saved (TaskEditing); here, the rows it
// must not touch.
TEST_F(Tareas, GuardaWritesItsOwnRowOnlyAndAGoneRowIsNoError) {
  clsTarea t;
  t.ID = db.AddTask({.hostname = "pc1", .descr = "Old"});
  const auto other = db.AddTask({.hostname = "PC1", .descr = "Other"});
  t.Descripcion = "It's 100% new";
  ASSERT_EQ(t.Guarda(conexion, "PC1"), "");
  EXPECT_EQ(db.Value("SELECT group_concat(DESCR, '|') FROM TASKS"), "It's 100% new|Other");
  db.Exec("DELETE FROM TASKS WHERE ID = " + std::to_string(t.ID));
  EXPECT_EQ(t.Guarda(conexion, "PC1"), "");
  EXPECT_EQ(db.Value("SELECT group_concat(ID) FROM TASKS"), std::to_string(other));
}

}  // namespace
}  // namespace tandrel
