// The main window over a real database and real language files: captions, start-up, the commands
// on the task list, the filter buttons, the sync switch, and the shutdown (a close, SIGTERM).
#include <gtest/gtest.h>

#include <csignal>

#include "core/clsArchivoINI.h"
#include "tests/ui/UiFixture.h"
#include "ui/SignalCloser.h"
#include "ui/TaskList.h"

namespace tandrel {
namespace {

class MainWindow : public test::UiFixture {
 protected:
  MainWindow() {
    WriteLanguage("EN", {{"mnuMain", "File"}, {"tolSYNC", "Sync it"}, {"capDesc", "Description"},
                         {"capFile", "File"}, {"logShowTasks", "Tasks of"}, {"tskPending", "Pending"},
                         {"logStarting", "Now starting"}});
    WriteLanguage("ES", {{"mnuMain", "Archivo"}, {"capDesc", "Descripción"}, {"capFile", "Archivo"}});
  }

  std::int64_t AddTask(const std::string& host, const std::string& descr) {
    return db.AddTask({.hostname = host, .left = "/Docs", .right = "/home/ana/Docs",
                       .leftopt = "NEA", .rightopt = "NEA", .descr = descr, .options = ""});
  }

  TaskList* Tasks() const { return Control<TaskList>("lstTareas"); }
  QString Log() const { return Control<QTextEdit>("txtEstado")->toPlainText(); }
  void Select(int position) { Tasks()->setCurrentItem(Tasks()->RowOfPosition(position)); }
  std::vector<bool> Enabled(std::initializer_list<const char*> names) const {
    std::vector<bool> enabled;
    for (const char* name : names) enabled.push_back(Command(name)->isEnabled());
    return enabled;
  }
};

// One caption of each kind: a menu, a toolbar tip, a column of each list. That every menu item has
// its word is checked through its letter (EveryMenuOpensByItsLetter...).
TEST_F(MainWindow, CaptionsFollowTheLanguageAndHelpAndUnknownButtonsAnswer) {
  auto& w = Build();
  w.PonTextos();
  const auto captions = [&] {
    return QStringList{Control<QMenu>("mnuMain")->title(), Command("SYNC")->toolTip(),
                       Tasks()->headerItem()->text(1),
                       Control<QTreeView>("lstEstado")->model()->headerData(0, Qt::Horizontal).toString()};
  };
  EXPECT_EQ(captions(), (QStringList{"File", "Sync it", "Description", "File"}));
  // Help and a button the window does not know each answer with a message.
  Command("mnuHELP")->trigger();
  w.ToolClick("NOSUCH");
  ASSERT_EQ(w.messages.size(), 2u);
  EXPECT_EQ(w.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(w.messages[0].text + "|" + w.messages[1].text, "help@tandrel.org|NOSUCH");
  w.SetProgressMax(0);
  EXPECT_EQ(Control<QProgressBar>("ProgressBar")->maximum(), 1) << "no endless busy animation";
  // The options dialog closes with Spanish chosen: the captions change at once; a key the new
  // language lacks shows the key itself.
  session->INI.Language = "ES";
  w.ToolClick("OPTIONS");
  EXPECT_EQ(captions(), (QStringList{"Archivo", "tolSYNC", QString::fromUtf8("Descripción"), "Archivo"}));
}

// Which tasks and in which order is the store's (SentenciasTest); here, the rows keyed by position.
TEST_F(MainWindow, StartUpListsTasksKeyedByPositionAndSyncFollowsTheAnalysedRow) {
  const auto b = AddTask("TESTPC", "Beta");
  const auto a = AddTask("testpc", "Alpha");
  WriteSettings("[General]\r\nLastEXE=20000101000000\r\n");
  auto& w = Start();
  EXPECT_EQ(Control<QGroupBox>("fraMain")->title(), "Tasks of TESTPC");
  EXPECT_TRUE(Log().contains("Now starting Vorn Tandrel (ver. 1.0.37)"));
  ASSERT_EQ(Tasks()->Count(), 2);
  const std::int64_t ids[] = {a, b};  // by description
  for (int i = 0; i < 2; ++i) {
    QTreeWidgetItem* row = Tasks()->topLevelItem(i);
    EXPECT_EQ(TaskList::PositionOf(row), i + 1);
    EXPECT_EQ(QStringList({row->text(0), row->text(2), row->text(4), row->text(5)}),
              QStringList({QString::number(ids[i]), "Pending", "/home/ana/Docs", "00/00/0000 00:00:00"}));
    EXPECT_FALSE(row->icon(0).isNull());
  }
  EXPECT_EQ(Enabled({"ANAL", "SYNC"}), (std::vector<bool>{true, false}));
  EXPECT_TRUE(w.messages.empty());

  // Sync is on only on the row of the analysed task; any selected row allows the peers command.
  const std::tuple<int, int, bool> clicks[] = {
      {2, 2, true}, {1, 2, false}, {2, 2, true}, {1, -1, false}, {2, -1, false}};
  for (auto [key, analysed, enabled] : clicks) {
    session->TareaAnalizada = analysed;
    Select(key);
    Q_EMIT Tasks()->itemClicked(Tasks()->currentItem(), 0);
    EXPECT_EQ(Enabled({"SYNC", "mnuSync", "mnuPeers"}), (std::vector<bool>{enabled, enabled, true}))
        << key << " " << analysed;
  }
}

// Which rows a deletion removes is the engine's (TaskEditingTest); here, the question, the list,
// and the commands that work holds off and gives back as they were.
TEST_F(MainWindow, WorkHoldsOffTheCommandsAndDeletingAsksUntilTheListIsEmpty) {
  AddTask("TESTPC", "A first");
  auto& w = Start();
  const auto held = {"NEWT", "ANAL", "SYNC", "OPTIONS", "OKS", "FSYNC", "CONFLICT", "mnuOptions",
                     "mnuAddTask", "mnuEditTask", "mnuDelTask", "mnuTaskReload", "mnuAnaliza", "mnuSync"};
  w.EnableSync(true);
  w.SetWorking(true);
  w.SetWorking(true);  // nested, as a run inside the start-up
  EXPECT_EQ(Enabled(held), std::vector<bool>(14, false));
  EXPECT_EQ(Enabled({"mnuExit", "mnuHELP"}), (std::vector<bool>{true, true}));
  w.EnableSync(false);  // a run ends: sync stays off afterwards
  w.SetWorking(false);
  EXPECT_FALSE(Command("NEWT")->isEnabled());
  // A double-click while work runs does not reload the list under it.
  AddTask("TESTPC", "B second");
  Q_EMIT Tasks()->itemDoubleClicked(Tasks()->topLevelItem(0), 0);
  EXPECT_EQ(Tasks()->Count(), 1);
  w.SetWorking(false);
  std::vector<bool> after(14, true);
  after[2] = after[13] = false;
  EXPECT_EQ(Enabled(held), after);
  Q_EMIT Tasks()->itemDoubleClicked(Tasks()->topLevelItem(0), 0);
  ASSERT_EQ(Tasks()->Count(), 2);

  Select(1);
  Command("mnuDelTask")->trigger();  // answered no
  ASSERT_EQ(w.questions, std::vector<std::string>{"Sure?"});
  EXPECT_EQ(Tasks()->Count(), 2);
  w.answer = true;
  Select(1);
  Command("mnuDelTask")->trigger();
  ASSERT_EQ(Tasks()->Count(), 1);
  EXPECT_EQ(TaskList::PositionOf(Tasks()->topLevelItem(0)), 2) << "its position in Tareas";
  Command("mnuDelTask")->trigger();  // the last one goes too: nothing is left to analyse
  EXPECT_EQ(Tasks()->Count(), 0);
  EXPECT_EQ(Enabled({"ANAL", "mnuPeers"}), (std::vector<bool>{false, false}));
  // On an empty list, delete, edit and analyse do nothing.
  const QString log = Log();
  for (const char* item : {"mnuDelTask", "mnuEditTask", "mnuAnaliza"}) Command(item)->trigger();
  EXPECT_EQ(w.questions.size(), 3u);
  EXPECT_EQ(Log(), log);
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS"), 0);
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
  EXPECT_TRUE(w.isVisible() && session->conexion.IsOpen());
  w.SetWorking(false);
  test::Pump();
  EXPECT_FALSE(w.isVisible() || session->conexion.IsOpen());

  clsArchivoINI written(db.Folder(), "Tandrel");
  EXPECT_EQ(written.FileColumns, "0,0," + std::to_string(PixelsToTwips(150, w.logicalDpiX())) + ",0");
  EXPECT_EQ(std::tuple(written.TaskColumns, written.showOKS, written.showFSYNC, written.showCONFLICT,
                       written.WindowState),
            std::tuple("", true, true, false, 0));
  EXPECT_NEAR(written.WindowWidth, PixelsToTwips(1000, w.logicalDpiX()), 1);
  EXPECT_NEAR(written.WindowHeight, PixelsToTwips(640, w.logicalDpiY()), 1);
  EXPECT_FALSE(written.LastEXE.empty());
}

}  // namespace
}  // namespace tandrel
