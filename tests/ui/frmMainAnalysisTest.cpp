// The main window driving the real engine over real folders: analyse, re-filter, open a file's
// details, synchronise; and the dialogs each command opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/ui/UiFixture.h"
#include "ui/TaskList.h"

namespace tandrel {
namespace {

namespace fsys = std::filesystem;

class WindowWithEngine : public test::UiFixture {
 protected:
  WindowWithEngine() {
    WriteLanguage("EN", {{"tskDone", "Done"}, {"tskPending", "Pending"}});
    // The program folder stands as the mounted USB drive: the task's Left lies below it.
    mounts = MountTable{{"/", db.Folder()}};
    usb = db.Folder() + "/usb";
    pc = db.Folder() + "/pc";
  }

  std::string usb;
  std::string pc;
};

// The letter after "&" in a caption, lower-cased; a null character for none.
QChar Mnemonic(const QString& caption) {
  const int at = caption.indexOf('&');
  return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}

TEST_F(WindowWithEngine, EveryMenuOpensByItsLetterInBothLanguagesAndNoTwoItemsShareOne) {
  UseProgramLanguages();
  // Each caption has a letter after "&", and no two of them share one.
  const auto checkLetters = [](const QList<QAction*>& actions) {
    std::set<QChar> letters;
    for (QAction* action : actions) {
      if (action->isSeparator()) continue;
      EXPECT_FALSE(Mnemonic(action->text()).isNull()) << action->text().toStdString();
      EXPECT_TRUE(letters.insert(Mnemonic(action->text())).second) << action->text().toStdString();
    }
  };
  for (const std::string code : {"EN", "ES"}) {
    SCOPED_TRACE(code);
    WriteSettings("[General]\r\nLanguage=" + code + "\r\n[DB]\r\nCompactDataBase=0\r\n");
    auto& w = Start();
    ASSERT_TRUE(Activate());
    checkLetters(w.menuBar()->actions());
    for (QAction* top : w.menuBar()->actions()) {
      QTest::keyClick(&w, Mnemonic(top->text()).toLatin1(), Qt::AltModifier);
      if (QMenu* menu = top->menu()) {
        EXPECT_EQ(QApplication::activePopupWidget(), menu) << top->text().toStdString();
        checkLetters(menu->actions());
        menu->close();
      } else {
        ASSERT_FALSE(w.messages.empty());  // the help command of the bar itself
        EXPECT_EQ(w.messages.back().text, "help@tandrel.org");
      }
    }
    // F10 opens the first menu.
    auto* first = w.menuBar()->actions().front()->menu();
    QTest::keyClick(&w, Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), first);
    first->close();
  }
}

TEST_F(WindowWithEngine, AnalyseSortNarrowFilterOpenAndSynchroniseByMouseAndKeyboard) {
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
  auto* toolbar = Control<QToolBar>("TOOL");
  auto names = [&] {
    test::Pump();
    std::vector<std::string> shown;
    for (int r = 0; r < files->model()->rowCount(); ++r)
      shown.push_back(files->model()->index(r, 0).data().toString().toStdString());
    return shown;
  };
  auto clickHeader = [&](int column) {
    QHeaderView* header = files->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
  };
  // The keyboard alone: Tab walks the enabled toolbar buttons, then reaches the task list; F5
  // analyses, Return opens the task, the shortcuts synchronise and open the other dialogs.
  toolbar->widgetForAction(Command("NEWT"))->setFocus();
  int stops = 0;
  while (QApplication::focusWidget() != tasks && stops < 10) {
    EXPECT_EQ(QApplication::focusWidget()->parentWidget(), toolbar);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ++stops;
  }
  EXPECT_EQ(stops, 6);  // NEWT, ANAL, OPTIONS and the three filters; SYNC is still disabled
  QTest::keyClick(tasks, Qt::Key_F5);
  EXPECT_EQ(session->TareaAnalizada, 1);
  EXPECT_TRUE(Command("SYNC")->isEnabled());
  QTest::keyClick(tasks, Qt::Key_Return);
  const std::vector<std::string> analysed = names();
  ASSERT_EQ(analysed.size(), 3u);  // unchanged files hidden by their button

  // By size (1, 3, 5 bytes), the other way round, by name.
  const std::pair<int, std::vector<std::string>> sorts[] = {{3, {"Cab.txt", "A.txt", "B.txt"}},
                                                            {3, {"B.txt", "A.txt", "Cab.txt"}},
                                                            {0, {"A.txt", "B.txt", "Cab.txt"}}};
  for (const auto& [column, sorted] : sorts) {
    clickHeader(column);
    EXPECT_EQ(names(), sorted) << column;
  }

  // The find box narrows by name without regard to case; the filter buttons rebuild the list from
  // the same analysis.
  test::TypeText(Control<QLineEdit>("txtBuscar"), "A");
  EXPECT_EQ(names(), (std::vector<std::string>{"A.txt", "Cab.txt"}));
  Command("OKS")->trigger();
  EXPECT_EQ(names(), (std::vector<std::string>{"A.txt", "Cab.txt", "Same.txt"}));
  files->setCurrentIndex(files->model()->index(2, 0));
  QTest::keyClick(files, Qt::Key_Return);  // a row of the narrowed list opens its details
  Q_EMIT files->doubleClicked(files->model()->index(0, 0));  // and so does a double-click
  Control<QLineEdit>("txtBuscar")->clear();
  Command("OKS")->trigger();

  // A new analysis shows its own order again.
  Command("ANAL")->trigger();
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
  EXPECT_EQ(dialogs, (std::vector<std::string>{"tandrel::frmTask", "tandrel::frmFile", "tandrel::frmFile",
                                               "tandrel::frmAsistTask", "tandrel::frmOPT"}));
  shortcut(Qt::Key_Q);
  EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace tandrel
