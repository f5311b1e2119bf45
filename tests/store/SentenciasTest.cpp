// The statements one by one, on a real database: what each reads or changes, and that a host name
// is compared as a plain name (no pattern, no quoting) without regard to ASCII case.
#include <gtest/gtest.h>

#include "core/clsArchivoINI.h"
#include "store/Conexion.h"
#include "store/Sentencias.h"
#include "store/Sqlite.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

using test::TempDatabase;

class Sentencias : public ::testing::Test {
 protected:
  void SetUp() override {
    clsArchivoINI ini(db.Folder(), "Tandrel");
    ASSERT_EQ(ConectaBD(conexion, ini, db.Folder()), "");
  }
  std::vector<clsTarea> TareasDe(std::string_view host) {
    std::vector<clsTarea> tareas;
    EXPECT_EQ(LeeTareasDeHost(conexion, host, tareas), "");
    return tareas;
  }
  TempDatabase db;
  Conexion conexion;
};

TEST_F(Sentencias, HostNamesMatchExactlyIgnoringOnlyAsciiCase) {
  db.AddTask({.hostname = "PC_1", .descr = "underscore"});
  db.AddTask({.hostname = "PCX1", .descr = "x"});
  db.AddTask({.hostname = "O'Brien", .descr = "quote"});
  db.AddTask({.hostname = "100%", .descr = "percent"});
  db.AddTask({.hostname = "1000", .descr = "digits"});
  db.AddTask({.hostname = "pc_1", .descr = "lower"});
  db.AddTask({.hostname = "ÉQUIPE", .descr = "accent"});

  struct Case {
    const char* host;
    const char* count;
  } cases[] = {{"PC_1", "2"}, {"PCX1", "1"}, {"PC%", "0"}, {"O'Brien", "1"}, {"o'brien", "1"},
               {"100%", "1"}, {"10%", "0"},  {"", "0"},    {"ÉQUIPE", "1"},  {"équipe", "0"}};
  for (const Case& c : cases) {
    EXPECT_EQ(CuentaTareas(conexion, c.host), c.count) << c.host;
    EXPECT_EQ(std::to_string(TareasDe(c.host).size()), c.count) << c.host;
  }
  const auto pc1 = TareasDe("PC_1");
  ASSERT_EQ(pc1.size(), 2u);
  EXPECT_EQ(pc1[0].Descripcion, "lower");
  EXPECT_EQ(pc1[1].Descripcion, "underscore");
}

TEST_F(Sentencias, TasksOfAHostComeByDescriptionIgnoringCase) {
  db.AddTask({.hostname = "PC", .descr = "beta"});
  db.AddTask({.hostname = "PC", .descr = "Alpha"});
  db.AddTask({.hostname = "PC", .descr = std::nullopt});
  db.AddTask({.hostname = "PC", .descr = "Gamma"});
  std::vector<std::string> orden;
  for (const clsTarea& t : TareasDe("PC")) orden.push_back(t.Descripcion);
  EXPECT_EQ(orden, (std::vector<std::string>{"", "Alpha", "beta", "Gamma"}));
}

TEST_F(Sentencias, InsertReturnsTheNewIdAndWritesTheNineColumns) {
  clsTarea nueva;
  nueva.ID = 777;  // ignored: the database assigns it
  nueva.Tipo = 1;
  nueva.Left = "\\Docs";
  nueva.Right = "/home/ana/Docs";
  nueva.LeftOPT = "NEAR";
  nueva.RightOPT = "NR";
  nueva.Descripcion = "Docs";
  nueva.OPTIONS = "ARO";
  nueva.LastEXE = "00000000000000";
  std::string error;
  const std::int64_t id = InsertaTarea(conexion, "PC1", nueva, &error);
  ASSERT_EQ(error, "");
  ASSERT_GT(id, 0);
  EXPECT_NE(id, 777);
  EXPECT_EQ(db.Value("SELECT HOSTNAME || '|' || TYPE || '|' || \"LEFT\" || '|' || \"RIGHT\" || '|' || "
                     "LEFTOPT || '|' || RIGHTOPT || '|' || DESCR || '|' || OPTIONS || '|' || LASTEXE "
                     "FROM TASKS WHERE ID = " + std::to_string(id)),
            "PC1|1|\\Docs|/home/ana/Docs|NEAR|NR|Docs|ARO|00000000000000");
  EXPECT_GT(InsertaTarea(conexion, "PC1", nueva), id);
}

TEST_F(Sentencias, EveryHostsTasksByHostAndOneTaskById) {
  const auto b = db.AddTask({.hostname = "bravo", .descr = "b1"});
  const auto a1 = db.AddTask({.hostname = "Alpha", .left = "\\A", .descr = "a1"});
  const auto a2 = db.AddTask({.hostname = "alpha", .descr = "a2"});
  std::vector<TareaDeHost> todas;
  ASSERT_EQ(LeeTodasLasTareas(conexion, todas), "");
  ASSERT_EQ(todas.size(), 3u);
  EXPECT_EQ(todas[0].Tarea.ID, a1);
  EXPECT_EQ(todas[0].HOSTNAME, "Alpha");
  EXPECT_EQ(todas[1].Tarea.ID, a2);
  EXPECT_EQ(todas[2].Tarea.ID, b);

  std::optional<TareaDeHost> una;
  ASSERT_EQ(LeeTareaPorId(conexion, a1, una), "");
  ASSERT_TRUE(una.has_value());
  EXPECT_EQ(una->HOSTNAME, "Alpha");
  EXPECT_EQ(una->Tarea.Left, "\\A");
  ASSERT_EQ(LeeTareaPorId(conexion, 9999, una), "");
  EXPECT_FALSE(una.has_value());
}

TEST_F(Sentencias, DeletesReachTheirOwnRowsOnly) {
  const auto t1 = db.AddTask({.hostname = "PC1"});
  const auto t2 = db.AddTask({.hostname = "PC1"});
  for (const char* host : {"PC1", "pc1", "PC_1", "PC2"}) {
    db.AddFile({.hostname = host, .task = t1, .file = "a"});
    db.AddFile({.hostname = host, .task = t2, .file = "a"});
  }
  // 9: this host's rows of one task (the host without regard to ASCII case, "_" no pattern).
  ASSERT_EQ(BorraFicherosDeHost(conexion, "PC1", t1), "");
  EXPECT_EQ(db.Value("SELECT group_concat(HOSTNAME || TASK, ',') FROM (SELECT * FROM FILES "
                     "WHERE TASK = " + std::to_string(t1) + " ORDER BY rowid)"),
            "PC_1" + std::to_string(t1) + ",PC2" + std::to_string(t1));
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES WHERE TASK = " + std::to_string(t2)), 4);
  // 7 and 8: the task and its rows of every host.
  ASSERT_EQ(BorraTarea(conexion, t2), "");
  ASSERT_EQ(BorraFicherosDeTarea(conexion, t2), "");
  EXPECT_EQ(db.Value("SELECT group_concat(ID) FROM TASKS"), std::to_string(t1));
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES WHERE TASK = " + std::to_string(t2)), 0);
  EXPECT_EQ(db.Count("SELECT count(*) FROM FILES"), 2);
}

TEST_F(Sentencias, LastExeIsStampedOnTheOneTask) {
  const auto t1 = db.AddTask({.hostname = "PC1"});
  const auto t2 = db.AddTask({.hostname = "PC1"});
  ASSERT_EQ(ActualizaLastExe(conexion, t2, "20240131235959"), "");
  EXPECT_EQ(db.Value("SELECT LASTEXE FROM TASKS WHERE ID = " + std::to_string(t1)), "00000000000000");
  EXPECT_EQ(db.Value("SELECT LASTEXE FROM TASKS WHERE ID = " + std::to_string(t2)), "20240131235959");
}

TEST_F(Sentencias, StatementsOnAClosedOrTablelessDatabaseReportTheirError) {
  db.Exec("DROP TABLE FILES");
  EXPECT_NE(BorraFicherosDeTarea(conexion, 1), "");
  sqlite::Statement filas;
  EXPECT_NE(AbreFicheros(conexion, "PC", 1, filas), "");
  conexion.Close();
  EXPECT_EQ(CuentaTareas(conexion, "PC"), "");
  EXPECT_NE(BorraTarea(conexion, 1), "");
  std::string error;
  EXPECT_EQ(InsertaTarea(conexion, "PC", clsTarea{}, &error), 0);
  EXPECT_NE(error, "");
}

TEST(IdDeTexto, WholeNumbersOnly) {
  EXPECT_EQ(IdDeTexto("12"), 12);
  EXPECT_EQ(IdDeTexto(" 12 "), 12);
  EXPECT_EQ(IdDeTexto("-3"), -3);
  for (const char* bad : {"", " ", "12a", "1.5", "%", "1 2"}) EXPECT_FALSE(IdDeTexto(bad)) << bad;
}

}  // namespace
}  // namespace tandrel
