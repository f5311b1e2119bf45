// The main window over a real database and real language files: captions, start-up, the commands
// on the task list, the filter buttons, the sync switch, and the shutdown (a close, SIGTERM).
#include <gtest/gtest.h>

#include <csignal>

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeView>

#include "core/clsArchivoINI.h"
#include "tests/ui/UiFixture.h"
#include "ui/SignalCloser.h"
#include "ui/TaskList.h"

namespace tandrel {
namespace {

using Words = std::vector<std::pair<std::string, std::string>>;

const Words kEnglish = {
    {"mnuMain", "File"},          {"mnuHELP", "Help"},         {"tolANAL", "Analyse it"},
    {"tolSYNC", "Sync it"},       {"capDesc", "Description"},  {"capFile", "File"},
    {"logShowTasks", "Tasks of"}, {"tskPending", "Pending"},   {"logStarting", "Starting"},
};

const Words kSpanish = {
    {"mnuMain", "Archivo"}, {"mnuHELP", "Ayuda"}, {"tolANAL", "Analizar"},
    {"capDesc", "Descripción"}, {"capFile", "Archivo"},
};

class MainWindow : public test::UiFixture {
 protected:
  MainWindow() {
    WriteLanguage("EN", kEnglish);
    WriteLanguage("ES", kSpanish);
  }

  std::int64_t AddTask(const std::string& host, const std::string& descr) {
    return db.AddTask({.hostname = host, .left = "/Docs", .right = "/home/ana/Docs",
                       .leftopt = "NEA", .rightopt = "NEA", .descr = descr, .options = ""});
  }

  TaskList* Tasks() const { return Control<TaskList>("lstTareas"); }
  QString Log() const { return Control<QTextEdit>("txtEstado")->toPlainText(); }
  void Select(int position) { Tasks()->setCurrentItem(Tasks()->RowOfPosition(position)); }
};

// One caption of each kind: a menu, a menu item, a toolbar tip, a column of each list. That every
// menu item has its word is checked through its letter (EveryMenuOpensByItsLetter...).
TEST_F(MainWindow, CaptionsFollowTheLanguageAndHelpAndUnknownButtonsAnswer) {
  auto& w = Build();
  w.PonTextos();
  const auto captions = [&] {
    return QStringList{Control<QMenu>("mnuMain")->title(), Command("mnuHELP")->text(),
                       Command("ANAL")->toolTip(), Command("SYNC")->toolTip(),
                       Tasks()->headerItem()->text(1),
                       Control<QTreeView>("lstEstado")->model()->headerData(0, Qt::Horizontal).toString()};
  };
  EXPECT_EQ(captions(), (QStringList{"File", "Help", "Analyse it", "Sync it", "Description", "File"}));
  // Help and a button the window does not know each answer with a message.
  Command("mnuHELP")->trigger();
  w.ToolClick("NOSUCH");
  ASSERT_EQ(w.messages.size(), 2u);
  EXPECT_EQ(w.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(w.messages[0].text, "help@tandrel.org");
  EXPECT_EQ(w.messages[1].icon, MessageIcon::None);
  EXPECT_EQ(w.messages[1].text, "NOSUCH");
  w.SetProgressMax(0);
  EXPECT_EQ(Control<QProgressBar>("ProgressBar")->maximum(), 1) << "no endless busy animation";
  // The options dialog closes with Spanish chosen: the captions change at once; a key the new
  // language lacks shows the key itself.
  session->INI.Language = "ES";
  w.ToolClick("OPTIONS");
  EXPECT_EQ(captions(), (QStringList{"Archivo", "Ayuda", "Analizar", "tolSYNC",
                                     QString::fromUtf8("Descripción"), "Archivo"}));
}

TEST_F(MainWindow, StartUpListsThisComputersTasksKeyedByPositionAndSyncFollowsTheAnalysedRow) {
  const auto b = AddTask("TESTPC", "Beta");
  const auto a = AddTask("testpc", "Alpha");
  AddTask("OTHERPC", "Gamma");
  WriteSettings("[General]\r\nLastEXE=20000101000000\r\n");
  auto& w = Start();

  EXPECT_EQ(w.windowTitle(), "Vorn Tandrel (1.0.37)");
  EXPECT_EQ(Control<QGroupBox>("fraMain")->title(), "Tasks of TESTPC");
  // The log's lines reach the box (their form is the log's own: PublicTest).
  EXPECT_TRUE(Log().contains("Starting Vorn Tandrel (ver. 1.0.37)"));

  ASSERT_EQ(Tasks()->Count(), 2);
  const std::int64_t ids[] = {a, b};  // by description
  for (int i = 0; i < 2; ++i) {
    QTreeWidgetItem* row = Tasks()->topLevelItem(i);
    EXPECT_EQ(TaskList::PositionOf(row), i + 1);
    EXPECT_EQ(row->text(0).toLongLong(), ids[i]);
    EXPECT_EQ(row->text(2), "Pending");
    EXPECT_EQ(row->text(4), "/home/ana/Docs");
    EXPECT_EQ(row->text(5), "00/00/0000 00:00:00");
    EXPECT_FALSE(row->icon(0).isNull());
  }
  EXPECT_EQ(Tasks()->topLevelItem(0)->text(1), "Alpha");
  EXPECT_TRUE(Command("ANAL")->isEnabled());
  EXPECT_FALSE(Command("SYNC")->isEnabled());
  EXPECT_TRUE(w.messages.empty());

  // Sync is on only on the row of the analysed task; any selected row allows the peers command.
  const std::tuple<int, int, bool> clicks[] = {
      {2, 2, true}, {1, 2, false}, {2, 2, true}, {1, -1, false}, {2, -1, false}};
  for (auto [key, analysed, enabled] : clicks) {
    session->TareaAnalizada = analysed;
    Select(key);
    Q_EMIT Tasks()->itemClicked(Tasks()->currentItem(), 0);
    EXPECT_EQ(Command("SYNC")->isEnabled(), enabled) << key << " " << analysed;
    EXPECT_EQ(Command("mnuSync")->isEnabled(), enabled) << key << " " << analysed;
    EXPECT_TRUE(Command("mnuPeers")->isEnabled()) << "a task is selected";
  }
}

// Which rows a deletion removes is the engine's (TaskEditingTest); here, the question and the list.
TEST_F(MainWindow, DeletingAsksAndRemovesTheSelectedRowUntilTheEmptyListHasNothingToDo) {
  const auto first = AddTask("TESTPC", "A first");
  AddTask("TESTPC", "B second");
  AddTask("OTHERPC", "Not ours");
  auto& w = Start();
  ASSERT_EQ(Tasks()->Count(), 2);
  Select(1);
  w.answer = false;
  Command("mnuDelTask")->trigger();
  ASSERT_EQ(w.questions, std::vector<std::string>{"Sure?"});
  EXPECT_EQ(Tasks()->Count(), 2);
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS"), 3);

  w.answer = true;
  Select(1);
  Command("mnuDelTask")->trigger();
  ASSERT_EQ(Tasks()->Count(), 1);
  // The remaining row still names its task's position in Tareas.
  EXPECT_EQ(TaskList::PositionOf(Tasks()->topLevelItem(0)), 2);
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS WHERE ID = " + std::to_string(first)), 0);
  Command("mnuDelTask")->trigger();  // the last one goes too: nothing is left to analyse
  EXPECT_EQ(Tasks()->Count(), 0);
  EXPECT_FALSE(Command("ANAL")->isEnabled());
  EXPECT_FALSE(Command("mnuPeers")->isEnabled()) << "no task selected";
  // On an empty list, delete, edit and analyse do nothing.
  const QString log = Log();
  for (const char* item : {"mnuDelTask", "mnuEditTask", "mnuAnaliza"}) Command(item)->trigger();
  EXPECT_EQ(w.questions.size(), 3u);  // no new question
  EXPECT_EQ(Log(), log);
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS"), 1);  // another computer's task stays
}

TEST_F(MainWindow, WorkHoldsOffTheCommandsAndGivesThemBackAsTheyWere) {
  AddTask("TESTPC", "A");
  auto& w = Start();
  w.EnableSync(true);
  const char* held[] = {"NEWT", "ANAL", "SYNC", "OPTIONS", "OKS", "FSYNC", "CONFLICT",
                        "mnuOptions", "mnuAddTask", "mnuEditTask", "mnuDelTask", "mnuTaskReload",
                        "mnuAnaliza", "mnuSync"};
  w.SetWorking(true);
  w.SetWorking(true);  // nested, as a run inside the start-up
  for (const char* name : held) EXPECT_FALSE(Command(name)->isEnabled()) << name;
  EXPECT_TRUE(Command("mnuExit")->isEnabled());
  EXPECT_TRUE(Command("mnuHELP")->isEnabled());
  w.EnableSync(false);  // a run ends: sync stays off afterwards
  w.SetWorking(false);
  EXPECT_FALSE(Command("NEWT")->isEnabled());
  w.SetWorking(false);
  for (const char* name : held) {
    const bool expected = std::string(name) != "SYNC" && std::string(name) != "mnuSync";
    EXPECT_EQ(Command(name)->isEnabled(), expected) << name;
  }
  // A double-click while work runs does not reload the list under it.
  AddTask("TESTPC", "B");
  w.SetWorking(true);
  Q_EMIT Tasks()->itemDoubleClicked(Tasks()->topLevelItem(0), 0);
  EXPECT_EQ(Tasks()->Count(), 1);
  w.SetWorking(false);
  Q_EMIT Tasks()->itemDoubleClicked(Tasks()->topLevelItem(0), 0);
  EXPECT_EQ(Tasks()->Count(), 2);
}

// SIGTERM closes as the close box does; a close during work waits for the work to end, then runs
// the whole shutdown, which writes the filter buttons and the geometry to the settings file.
TEST_F(MainWindow, FilterButtonsAndGeometryReachTheSettingsFileAtATermSignalOnceWorkEnds) {
  WriteSettings("[Panel]\r\nbutOKS=0\r\nbutFSYNC=-1\r\nbutCONFLICT=-1\r\n[DB]\r\nCompactDataBase=0\r\n");
  auto& w = Start();
  SignalCloser closer(w);
  ASSERT_TRUE(closer.Installed());
  EXPECT_FALSE(Command("OKS")->isChecked());
  EXPECT_TRUE(Command("FSYNC")->isChecked());
  Command("OKS")->trigger();
  Command("CONFLICT")->trigger();
  EXPECT_TRUE(session->INI.showOKS);
  EXPECT_FALSE(session->INI.showCONFLICT);
  w.resize(900, 640);
  test::Pump();
  // A dragged column keeps its width through a resize and into the settings; the others follow the
  // window.
  auto* files = Control<QTreeView>("lstEstado");
  files->header()->resizeSection(2, 150);
  const int fileWidth = files->columnWidth(0);
  w.resize(1000, 640);
  test::Pump();
  EXPECT_EQ(files->columnWidth(2), 150);
  EXPECT_GT(files->columnWidth(0), fileWidth);
  w.SetWorking(true);
  std::raise(SIGTERM);
  test::Pump();
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(session->conexion.IsOpen());
  w.SetWorking(false);
  test::Pump();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(session->conexion.IsOpen());

  clsArchivoINI written(db.Folder(), "Tandrel");
  EXPECT_EQ(written.FileColumns, "0,0," + std::to_string(PixelsToTwips(150, w.logicalDpiX())) + ",0");
  EXPECT_EQ(written.TaskColumns, "");
  EXPECT_TRUE(written.showOKS);
  EXPECT_TRUE(written.showFSYNC);
  EXPECT_FALSE(written.showCONFLICT);
  EXPECT_EQ(written.WindowState, 0);
  EXPECT_NEAR(written.WindowWidth, PixelsToTwips(1000, w.logicalDpiX()), 1);
  EXPECT_NEAR(written.WindowHeight, PixelsToTwips(640, w.logicalDpiY()), 1);
  EXPECT_FALSE(written.LastEXE.empty());
}

}  // namespace
}  // namespace tandrel
