// The main window over a real database, the program's language files and real folders: the one
// engine run by mouse and keys, the menus' letters, the task list's commands and the shutdown.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "core/clsArchivoINI.h"
#include "engine/Session.h"
#include "tests/ui/UiFixture.h"
#include "ui/SignalCloser.h"
#include "ui/TaskList.h"
#include "ui/frmMain.h"

namespace tandrel {
namespace {

namespace fsys = std::filesystem;

// Message boxes are recorded and questions answered by the test.
class TestWindow : public frmMain {
 public:
  using frmMain::frmMain;

  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
    messages.push_back({icon, title, text});
  }
  bool AskYesNo(const std::string&, const std::string& text) override {
    questions.push_back(text);
    return answer;
  }

  std::vector<test::RecordingView::Message> messages;
  std::vector<std::string> questions;
  bool answer = false;
};

class MainWindow : public test::UiFixture {
 protected:
  MainWindow() {
    // Every modal dialog the window opens is cancelled as soon as it shows, its class recorded.
    dismisser.setInterval(5);
    QObject::connect(&dismisser, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialogs.emplace_back(dialog->metaObject()->className());
        dialog->reject();
      }
    });
    dismisser.start();
    setenv("COMPUTERNAME", "TESTPC", 1);
  }

  void WriteSettings(const std::string& text) {
    std::ofstream(db.Folder() + "/Tandrel.ini", std::ios::binary) << text;
  }
  // The window over the folder as it is now, started; the program folder stands as the mounted
  // USB drive.
  TestWindow& Start() {
    window.reset();
    session = std::make_unique<Session>(db.Folder(), "Tandrel", MountTable{{"/", db.Folder()}}, fs);
    window = std::make_unique<TestWindow>(*session);
    window->Arranca();
    test::Pump();
    return *window;
  }
  template <typename T>
  T* Control(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QAction* Command(const char* name) const { return Control<QAction>(name); }
  // Makes the window the active one, as the window system does for a user's keys.
  [[nodiscard]] bool Activate() {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
  }

  QTimer dismisser;
  std::vector<std::string> dialogs;  // class names of the dialogs cancelled, in order
  std::unique_ptr<Session> session;
  std::unique_ptr<TestWindow> window;
};

// The letter after "&" in a caption, lower-cased; a null character for none.
QChar Mnemonic(const QString& caption) {
  const int at = caption.indexOf('&');
  return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}

TEST_F(MainWindow, EveryMenuItemHasALetterOfItsOwnInBothLanguages) {
  std::set<QString> firstMenus;
  for (const std::string code : {"EN", "ES"}) {
    SCOPED_TRACE(code);
    WriteSettings("[General]\r\nLanguage=" + code + "\r\n[DB]\r\nCompactDataBase=0\r\n");
    auto& w = Start();
    std::vector<QList<QAction*>> menus{w.menuBar()->actions()};
    for (QAction* top : w.menuBar()->actions()) {
      if (top->menu() != nullptr) menus.push_back(top->menu()->actions());
    }
    for (const QList<QAction*>& items : menus) {
      std::set<QChar> letters;
      for (QAction* item : items) {
        if (item->isSeparator()) continue;
        const QChar letter = Mnemonic(item->text());
        EXPECT_TRUE(!letter.isNull() && letters.insert(letter).second)
            << item->text().toStdString();
      }
    }
    firstMenus.insert(w.menuBar()->actions().front()->text());
  }
  EXPECT_EQ(firstMenus.size(), 2u) << "the language reaches the captions";
}

TEST_F(MainWindow, AnalyseSortNarrowFilterOpenAndSynchroniseByMouseAndKeyboard) {
  const std::string usb = db.Folder() + "/usb", pc = db.Folder() + "/pc";
  for (const auto& [path, text] : {std::pair{usb + "/b.txt", "12345"}, {usb + "/Cab.txt", "1"},
                                   {pc + "/a.txt", "123"}, {usb + "/same.txt", "equal"},
                                   {pc + "/same.txt", "equal"}})
    test::WriteBytes(path, text);
  fsys::last_write_time(pc + "/same.txt", fsys::last_write_time(usb + "/same.txt"));
  db.AddTask({.hostname = "TESTPC", .left = "/usb", .right = pc, .leftopt = "NEAR",
              .rightopt = "NEAR", .descr = "Docs", .options = ""});
  WriteSettings("[General]\r\nLastEXE=20000101000000\r\n[Panel]\r\nbutOKS=0\r\n"
                "[DB]\r\nCompactDataBase=0\r\n");
  auto& w = Start();
  ASSERT_TRUE(Activate());
  auto* tasks = Control<TaskList>("lstTareas");
  auto* files = Control<QTreeView>("lstEstado");
  auto names = [&] {
    test::Pump();
    std::vector<std::string> shown;
    for (int r = 0; r < files->model()->rowCount(); ++r)
      shown.push_back(files->model()->index(r, 0).data().toString().toStdString());
    return shown;
  };
  // F5 analyses, Return opens the task, the shortcuts synchronise and open the other dialogs.
  QTest::keyClick(tasks, Qt::Key_F5);
  EXPECT_EQ(session->TareaAnalizada, 1);
  EXPECT_TRUE(Command("SYNC")->isEnabled());
  QTest::keyClick(tasks, Qt::Key_Return);
  const std::vector<std::string> analysed = names();
  ASSERT_EQ(analysed.size(), 3u);  // unchanged files hidden by their button
  // Each row shows its entry's action and the size of the side it copies from; both drives are
  // the program folder here.
  QStringList rows;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) rows << files->model()->index(r, c).data().toString();
  }
  EXPECT_EQ(rows.join("|").replace(QString::fromStdString(db.Folder()), "D").toStdString(),
            "B.txt|New|D -----> D|5 bytes|Cab.txt|New|D -----> D|1 bytes|"
            "A.txt|New|D <----- D|3 bytes");

  // By size (1, 3, 5 bytes), then by name: a click on the header.
  using Names = std::vector<std::string>;
  for (const auto& [column, sorted] : {std::pair{3, Names{"Cab.txt", "A.txt", "B.txt"}},
                                       {0, Names{"A.txt", "B.txt", "Cab.txt"}}}) {
    QHeaderView* header = files->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    EXPECT_EQ(names(), sorted) << column;
  }

  // The find box narrows by name without regard to case; the filter buttons rebuild the list from
  // the same analysis.
  test::TypeText(Control<QLineEdit>("txtBuscar"), "A");
  EXPECT_EQ(names(), (Names{"A.txt", "Cab.txt"}));
  Command("OKS")->trigger();
  EXPECT_EQ(names(), (Names{"A.txt", "Cab.txt", "Same.txt"}));
  files->setCurrentIndex(files->model()->index(2, 0));
  QTest::keyClick(files, Qt::Key_Return);  // a row of the narrowed list opens its details
  Q_EMIT files->doubleClicked(files->model()->index(0, 0));  // and so does a double-click
  Control<QLineEdit>("txtBuscar")->clear();
  Command("OKS")->trigger();
  Command("ANAL")->trigger();  // a new analysis shows its own order again
  EXPECT_EQ(names(), analysed);

  // The window system gives the window back its activation when a dialog closes.
  auto shortcut = [&](Qt::Key key) {
    ASSERT_TRUE(Activate());
    QTest::keyClick(files, key, Qt::ControlModifier);
  };
  shortcut(Qt::Key_S);
  EXPECT_TRUE(fsys::exists(pc + "/b.txt") && fsys::exists(usb + "/a.txt"));
  EXPECT_EQ(tasks->topLevelItem(0)->text(2), "Done");
  EXPECT_TRUE(Command("NEWT")->isEnabled());
  // The run's task is no longer the analysed one: its row does not enable sync again.
  Q_EMIT tasks->itemClicked(tasks->topLevelItem(0), 0);
  EXPECT_FALSE(Command("SYNC")->isEnabled());
  EXPECT_TRUE(w.messages.empty());
  shortcut(Qt::Key_N);
  shortcut(Qt::Key_Comma);
  EXPECT_EQ(dialogs, (Names{"tandrel::frmTask", "tandrel::frmFile", "tandrel::frmFile",
                            "tandrel::frmAsistTask", "tandrel::frmOPT"}));
  shortcut(Qt::Key_Q);
  EXPECT_FALSE(w.isVisible());
}

// Rows are keyed by their position in the task list, so a deletion removes the task selected;
// work holds the commands off (nested, as a run inside the start-up), and a term signal during
// work waits for it to end, then runs the whole shutdown, which writes the filter buttons and the
// window's size to the settings file.
TEST_F(MainWindow, DeletingAsksAndATermSignalDuringWorkShutsDownOnceItEnds) {
  for (const char* descr : {"Beta", "Alpha"}) {
    db.AddTask({.hostname = "TESTPC", .left = "/Docs", .right = "/home/ana/Docs", .leftopt = "NEA",
                .rightopt = "NEA", .descr = descr, .options = ""});
  }
  WriteSettings("[Panel]\r\nbutOKS=0\r\nbutFSYNC=-1\r\nbutCONFLICT=-1\r\n"
                "[DB]\r\nCompactDataBase=0\r\n");
  auto& w = Start();
  auto* tasks = Control<TaskList>("lstTareas");
  ASSERT_EQ(tasks->Count(), 2);
  tasks->setCurrentItem(tasks->RowOfPosition(1));  // by description: Alpha
  Command("mnuDelTask")->trigger();  // answered no
  EXPECT_EQ(tasks->Count(), 2);
  w.answer = true;
  Command("mnuDelTask")->trigger();
  EXPECT_EQ(w.questions.size(), 2u);
  ASSERT_EQ(tasks->Count(), 1);
  EXPECT_EQ(TaskList::PositionOf(tasks->topLevelItem(0)), 2) << "its position in Tareas";
  EXPECT_EQ(db.Value("SELECT group_concat(DESCR) FROM TASKS"), "Beta");

  SignalCloser closer(w);
  ASSERT_TRUE(closer.Installed());
  Command("OKS")->trigger();
  Command("CONFLICT")->trigger();
  w.resize(1000, 640);
  w.SetWorking(true);
  w.SetWorking(true);
  EXPECT_FALSE(Command("ANAL")->isEnabled() || Command("mnuDelTask")->isEnabled());
  std::raise(SIGTERM);
  test::Pump();
  w.SetWorking(false);
  test::Pump();
  EXPECT_TRUE(w.isVisible() && session->conexion.IsOpen()) << "the outer work still runs";
  w.SetWorking(false);
  test::Pump();
  EXPECT_FALSE(w.isVisible() || session->conexion.IsOpen());
  clsArchivoINI written(db.Folder(), "Tandrel");
  EXPECT_EQ(std::tuple(written.showOKS, written.showFSYNC, written.showCONFLICT),
            std::tuple(true, true, false));
  EXPECT_NEAR(written.WindowWidth, PixelsToTwips(1000, w.logicalDpiX()), 1);
}

}  // namespace
}  // namespace tandrel
