// Tasks as the dialogs edit them, on a real database: letters read in any form and written in one
// order, the stick's folder kept without its drive, and the rows each edit leaves.
#include "engine/Startup.h"
#include "engine/TaskEditing.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

// HOSTNAME|TYPE|LEFT|RIGHT|LEFTOPT|RIGHTOPT|OPTIONS|DESCR|LASTEXE of the task.
std::string Columns(TempDatabase& db, std::int64_t id) {
  return db.Value(R"(SELECT HOSTNAME || '|' || TYPE || '|' || "LEFT" || '|' || "RIGHT" || '|' ||
                     LEFTOPT || '|' || RIGHTOPT || '|' || OPTIONS || '|' || DESCR || '|' || LASTEXE
                     FROM TASKS WHERE ID = )" + std::to_string(id));
}

TEST(TaskOptionsTest, LettersAreReadInAnyOrderAndWrittenInOne) {
  // LEFTOPT, RIGHTOPT, OPTIONS as stored -> LEFTOPT/RIGHTOPT/OPTIONS/AutoRun as written back.
  for (const auto& [left, right, options, written] :
       {std::tuple{"RAEN", "NEAR", "ORA", "NEAR/NEAR/ARO/1"},
        {"near", "", "aro", "///0"},  // a lower-case letter is no letter
        {"NN R", "EXE", "OO", "NR/E/O/0"}}) {
    clsTarea tarea;
    TaskOptions::Of(left, right, options).ApplyTo(tarea);
    EXPECT_EQ(tarea.LeftOPT + "/" + tarea.RightOPT + "/" + tarea.OPTIONS + "/" +
                  std::to_string(tarea.AutoRun),
              written);
  }
}

TEST_F(RunTest, ASavedTaskKeepsItsIdAndLastRun) {
  const std::int64_t id = db.AddTask({.hostname = "pc1", .left = "/Docs", .right = "/srv/pc",
                                      .leftopt = "R", .rightopt = "RAEN", .descr = "Docs",
                                      .options = "ORA", .lastexe = "20240101101010"});
  CargaTareas(*session, view);
  clsTarea& tarea = session->Tareas.ITem1(1);
  tarea.LastEXE = "19990101000000";  // a stale copy in memory is never written back
  TaskForm form = FormOfTask(*session, tarea);
  EXPECT_EQ(form, (TaskForm{"Docs", pair.Usb() + "/Docs", "/srv/pc",
                            TaskOptions::Of("R", "NEAR", "ARO"), "/Docs"}));
  form.descripcion = "Renamed";
  form.options.automatica = false;
  form.options.pc.borrados = false;
  ASSERT_EQ(SaveTask(*session, 1, form), "");
  EXPECT_EQ(Columns(db, id), "PC1|1|/Docs|/srv/pc|R|NAR|RO|Renamed|20240101101010");
  EXPECT_TRUE(tarea.AutoRun == 0 && tarea.ID == id);
}

// A copy takes folders and letters of any computer's task but not the name. Created, a task belongs
// to this computer, and whatever drive was typed its folder is looked for on the program's own
// drive (the forms a folder can take are the platform's table).
TEST_F(RunTest, ACopyOfAnyComputersTaskIsCreatedAsThisComputersWithoutTheDrive) {
  const std::int64_t other = db.AddTask({.hostname = "ZETA", .left = "/Photos", .right = "/home/z",
                                         .leftopt = "NE", .rightopt = "A", .descr = "Theirs",
                                         .options = "R"});
  auto copy = CopyOfTask(*session, view, other);
  ASSERT_TRUE(copy);
  EXPECT_EQ(*copy, (TaskForm{"", pair.Usb() + "/Photos", "/home/z", TaskOptions::Of("NE", "A", "R"),
                             "/Photos"}));
  EXPECT_FALSE(CopyOfTask(*session, view, other + 1));
  copy->descripcion = "Music <b>";
  copy->usbFolder = "F:\\Work\\2024";
  const std::int64_t id = CreateTask(*session, view, *copy);
  ASSERT_NE(id, 0);
  EXPECT_EQ(Columns(db, id), "PC1|1|\\Work\\2024|/home/z|NE|A|R|Music <b>|00000000000000");
  EXPECT_EQ(view.taskRows.back().id, id);  // the task list was reloaded
}

TEST_F(RunTest, ADeletedTaskTakesEveryComputersRowsAndItsAnalysisWithIt) {
  const auto id = AddTask();
  const auto kept = AddTask();
  for (const char* host : {kHost, "OTHER"}) {
    db.AddFile({.hostname = host, .task = id, .file = "A.txt"});
    db.AddFile({.hostname = host, .task = kept, .file = "A.txt"});
  }
  db.AddMask(id, ".tmp", 1);
  Analyse(1);
  ASSERT_EQ(session->TareaAnalizada, 1);
  DeleteTask(*session, 1);
  EXPECT_EQ(session->TareaAnalizada, 0);
  // Tasks | the tasks of the rows | masks: the program only reads masks, whoever keeps them.
  EXPECT_EQ(db.Value("SELECT (SELECT group_concat(ID) FROM TASKS) || '|' || (SELECT "
                     "group_concat(TASK) FROM FILES) || '|' || (SELECT count(*) FROM NODO)"),
            std::to_string(kept) + "|" + std::to_string(kept) + "," + std::to_string(kept) + "|1");
}

}  // namespace
}  // namespace tandrel::test
