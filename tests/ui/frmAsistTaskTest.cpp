// The new-task wizard driven step by step on a real database and real folders: the name check,
// the folder trees, copying a task of another computer, going back from the summary, and the one
// row it creates.
#include "tests/ui/UiFixture.h"

#include <filesystem>

#include "ui/FolderTree.h"
#include "ui/frmAsistTask.h"

namespace tandrel {
namespace {

using test::Find;

class frmAsistTaskTest : public test::UiFixture {
 protected:
  frmAsistTaskTest() { OpenSession(); }
  std::unique_ptr<frmAsistTask> Open() {
    auto wizard = std::make_unique<frmAsistTask>(*session, view);
    wizard->show();
    return wizard;
  }
  static void Next(frmAsistTask& wizard, int times = 1) {
    for (int i = 0; i < times; ++i) Find<QPushButton>(wizard, "Command1")->click();
  }
  static void Back(frmAsistTask& wizard) { Find<QPushButton>(wizard, "butPrev")->click(); }
  static QString Text(frmAsistTask& wizard, const char* box) {
    return Find<QLineEdit>(wizard, box)->text();
  }
  std::int64_t Rows() { return db.Count("SELECT count(*) FROM TASKS"); }
};

TEST_F(frmAsistTaskTest, EveryStepInTurnCreatesExactlyOneRow) {
  std::filesystem::create_directories(Drive() + "/Music/Rock");
  auto wizard = Open();
  EXPECT_FALSE(Find<QPushButton>(*wizard, "butPrev")->isEnabled());
  Next(*wizard);  // no name yet
  EXPECT_EQ(wizard->Paso(), 1);
  ASSERT_EQ(view.messages.size(), 1u);
  auto* name = Find<QLineEdit>(*wizard, "txtNombre");
  test::TypeText(name, "Music <b>");
  QTest::keyClick(name, Qt::Key_Enter);  // Enter is Next

  // Step 2: the tree opens at the root of the program's drive, and that root is the first choice.
  EXPECT_EQ(Text(*wizard, "AstxtUSB").toStdString(), Drive() + "/");
  auto* dir1 = Find<FolderTree>(*wizard, "Dir1");
  const auto music = dir1->findItems("Music", Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(music.size(), 1);
  QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(music[0]).center());
  EXPECT_EQ(Text(*wizard, "AstxtUSB").toStdString(), Drive() + "/Music");
  QTest::keyClick(Find<QLineEdit>(*wizard, "AstxtUSB"), Qt::Key_Return);

  // Step 3: a folder typed by hand, which need not exist; then one box of step 4, two of step 5.
  test::TypeText(Find<QLineEdit>(*wizard, "AstxtPC"), "/srv/first");
  Next(*wizard);
  Find<QCheckBox>(*wizard, "AschkPCDel")->click();
  Next(*wizard);
  Find<QCheckBox>(*wizard, "AschkAuto")->click();
  Find<QCheckBox>(*wizard, "AschkOptimist")->click();
  Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 6);
  EXPECT_EQ(Find<QLabel>(*wizard, "lblDesc")->text(), "Music <b>");
  EXPECT_FALSE(Find<QCheckBox>(*wizard, "chkPCDel")->isChecked() ||
               Find<QCheckBox>(*wizard, "chkPCDel")->isEnabled());

  // Back to step 3, another PC folder, forward again: the summary shows the new one.
  for (int i = 0; i < 3; ++i) Back(*wizard);
  EXPECT_EQ(wizard->Paso(), 3);
  test::Retype(Find<QLineEdit>(*wizard, "AstxtPC"), "/srv/second");
  Next(*wizard, 3);
  EXPECT_EQ(Text(*wizard, "txtPC"), "/srv/second");
  EXPECT_EQ(Rows(), 0);

  Next(*wizard);
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  ASSERT_EQ(Rows(), 1);
  // What the steps gathered reaches the engine (which stores it: TaskEditingTest).
  EXPECT_EQ(TaskRow(), "/Music|/srv/second|NEAR|NAR|Music <b>|AO");

  auto again = Open();
  EXPECT_EQ(again->Paso(), 1);
  EXPECT_EQ(Text(*again, "txtNombre"), "");
}

TEST_F(frmAsistTaskTest, CopyingATaskOfAnotherComputerTakesItsFoldersAndLettersOnly) {
  auto wizard = Open();
  test::TypeText(Find<QLineEdit>(*wizard, "txtNombre"), "Mine");
  Find<QRadioButton>(*wizard, "optTipo1")->click();
  Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 11);
  auto* list = Find<QTreeWidget>(*wizard, "lstTareas");
  EXPECT_EQ(list->topLevelItemCount(), 0);  // an empty table
  Back(*wizard);  // from the list straight back to the first step
  EXPECT_EQ(wizard->Paso(), 1);
  db.AddTask({.hostname = "ZETA", .left = "/Z", .right = "/z", .descr = "Last host"});
  const std::int64_t source =
      db.AddTask({.hostname = "ALPHA", .left = "Photos", .right = "/home/ana/Photos", .leftopt = "RA",
                  .rightopt = "EN", .descr = "Theirs", .options = "RO", .lastexe = "20240505050505"});
  Next(*wizard);
  ASSERT_EQ(list->topLevelItemCount(), 2);  // every computer's tasks, by computer
  EXPECT_EQ(list->topLevelItem(0)->text(0).toLongLong(), source);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
  Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 6);
  EXPECT_EQ(Find<QLabel>(*wizard, "lblDesc")->text(), "Mine");
  EXPECT_EQ(Text(*wizard, "txtUSB").toStdString(), Drive() + "/Photos");
  Next(*wizard);

  ASSERT_EQ(Rows(), 3);
  EXPECT_EQ(TaskRow(), "Photos|/home/ana/Photos|AR|NE|Mine|RO");  // the folder as stored
}

TEST_F(frmAsistTaskTest, ADriveChoiceMovesThePcTreeUnlessTheDriveCannotBeRead) {
  std::filesystem::create_directories(Drive() + "/other");
  session->mounts.mountPoints = {"/", Drive(), Drive() + "/other", Drive() + "/gone", "/proc"};
  session->mounts.fileSystems = {"ext4", "vfat", "ext4", "ext4", "proc"};
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(Drive()));  // the home is listed once, with its drive
  auto wizard = Open();
  qputenv("HOME", home);
  auto* drives = Find<QComboBox>(*wizard, "Drive1");
  auto* dir2 = Find<FolderTree>(*wizard, "Dir2");
  // In name order: "/", the program's drive, ".../gone", ".../other"; the keyboard picks them.
  ASSERT_EQ(drives->count(), 4);
  ASSERT_EQ(drives->itemText(3).toStdString(), Drive() + "/other");
  drives->setCurrentIndex(0);
  for (int i = 0; i < 3; ++i) QTest::keyClick(drives, Qt::Key_Down);
  const auto shown = [&] { return (dir2->Root() + "|" + Text(*wizard, "AstxtPC")).toStdString(); };
  EXPECT_EQ(shown(), Drive() + "/other/|" + Drive() + "/other/");
  QTest::keyClick(drives, Qt::Key_Up);  // ".../gone" cannot be read: the tree stays
  EXPECT_EQ(drives->currentIndex(), 2);
  EXPECT_EQ(shown(), Drive() + "/other/|" + Drive() + "/other/");
}

}  // namespace
}  // namespace tandrel
