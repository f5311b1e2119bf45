// The new-task wizard driven step by step on a real database and real folders: the name check,
// the folder trees, copying a task of another computer, going back from the summary, and the one
// row it creates.
#include "tests/ui/DialogFixture.h"

#include <filesystem>

#include "ui/FolderTree.h"
#include "ui/frmAsistTask.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace tandrel {
namespace {

using test::Find;

class frmAsistTaskTest : public test::DialogFixture {
 protected:
  std::unique_ptr<frmAsistTask> Open() {
    auto wizard = std::make_unique<frmAsistTask>(*session, view);
    wizard->show();
    return wizard;
  }

  static void Next(frmAsistTask& wizard) { Find<QPushButton>(wizard, "Command1")->click(); }
  static void Back(frmAsistTask& wizard) { Find<QPushButton>(wizard, "butPrev")->click(); }
  static void Retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    test::PressKey(box, Qt::Key_Delete);
    test::TypeText(box, text);
  }

  std::int64_t Rows() { return db.Count("SELECT count(*) FROM TASKS"); }
  std::int64_t LastId() { return db.Count("SELECT max(ID) FROM TASKS"); }
};

TEST_F(frmAsistTaskTest, AnEmptyNameKeepsStepOneAndSpacesAreAName) {
  auto wizard = Open();
  EXPECT_EQ(wizard->Paso(), 1);
  EXPECT_FALSE(Find<QPushButton>(*wizard, "butPrev")->isEnabled());
  Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 1);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(view.messages[0].text, session->W("errTask1"));

  auto* name = Find<QLineEdit>(*wizard, "txtNombre");
  test::TypeText(name, "  ");
  test::PressKey(name, Qt::Key_Return);  // Enter is Next, and never reaches the box
  EXPECT_EQ(wizard->Paso(), 2);
  EXPECT_EQ(name->text(), "  ");
  EXPECT_TRUE(Find<QPushButton>(*wizard, "butPrev")->isEnabled());
  EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(frmAsistTaskTest, ANewTaskWalksEveryStepAndCreatesExactlyOneRow) {
  std::filesystem::create_directories(Drive() + "/Music/Rock");
  auto wizard = Open();
  auto* name = Find<QLineEdit>(*wizard, "txtNombre");
  test::TypeText(name, "Music <b>");
  test::PressKey(name, Qt::Key_Enter);

  // Step 2: the tree opens at the root of the program's drive, and that root is the first choice.
  auto* usb = Find<QLineEdit>(*wizard, "AstxtUSB");
  EXPECT_EQ(usb->text().toStdString(), Drive() + "/");
  auto* dir1 = Find<FolderTree>(*wizard, "Dir1");
  QTreeWidgetItem* root = dir1->topLevelItem(0);
  ASSERT_NE(root, nullptr);
  QTreeWidgetItem* music = nullptr;
  for (int i = 0; i < root->childCount(); ++i) {
    if (root->child(i)->text(0) == "Music") music = root->child(i);
  }
  ASSERT_NE(music, nullptr);
  dir1->scrollToItem(music);
  test::ClickAt(dir1->viewport(), dir1->visualItemRect(music).center());
  EXPECT_EQ(usb->text().toStdString(), Drive() + "/Music");
  test::PressKey(usb, Qt::Key_Return);

  // Step 3: a folder typed by hand, which need not exist.
  EXPECT_EQ(wizard->Paso(), 3);
  auto* pc = Find<QLineEdit>(*wizard, "AstxtPC");
  EXPECT_EQ(pc->text(), "");
  test::TypeText(pc, "/srv/first");
  Next(*wizard);
  Find<QCheckBox>(*wizard, "AschkPCDel")->click();
  Next(*wizard);
  Find<QCheckBox>(*wizard, "AschkAuto")->click();
  Find<QCheckBox>(*wizard, "AschkOptimist")->click();
  Next(*wizard);

  EXPECT_EQ(wizard->Paso(), 6);
  EXPECT_EQ(Find<QLabel>(*wizard, "lblDesc")->text(), "Music <b>");
  EXPECT_EQ(Find<QLineEdit>(*wizard, "txtPC")->text(), "/srv/first");
  EXPECT_FALSE(Find<QCheckBox>(*wizard, "chkPCDel")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(*wizard, "chkPCDel")->isEnabled());

  // Back to step 3, another PC folder, forward again: the summary shows the new one.
  Back(*wizard);
  Back(*wizard);
  Back(*wizard);
  EXPECT_EQ(wizard->Paso(), 3);
  Retype(pc, "/srv/second");
  Next(*wizard);
  Next(*wizard);
  Next(*wizard);
  EXPECT_EQ(Find<QLineEdit>(*wizard, "txtPC")->text(), "/srv/second");
  EXPECT_EQ(Rows(), 0);

  Next(*wizard);
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  ASSERT_EQ(Rows(), 1);
  const std::int64_t id = LastId();
  EXPECT_EQ(TaskColumn(id, "HOSTNAME"), "PC1");
  EXPECT_EQ(TaskColumn(id, "TYPE"), "1");
  EXPECT_EQ(TaskColumn(id, "LEFT"), "/Music");
  EXPECT_EQ(TaskColumn(id, "RIGHT"), "/srv/second");
  EXPECT_EQ(TaskColumn(id, "LEFTOPT"), "NEAR");
  EXPECT_EQ(TaskColumn(id, "RIGHTOPT"), "NAR");
  EXPECT_EQ(TaskColumn(id, "DESCR"), "Music <b>");
  EXPECT_EQ(TaskColumn(id, "OPTIONS"), "AO");
  EXPECT_EQ(TaskColumn(id, "LASTEXE"), "00000000000000");
  EXPECT_TRUE(view.LogHas(session->W("logCREATEDTASK") + " " + std::to_string(id)));
  ASSERT_EQ(view.taskRows.size(), 1u);  // the task list was reloaded
  EXPECT_EQ(view.taskRows[0].id, std::to_string(id));

  auto again = Open();
  EXPECT_EQ(again->Paso(), 1);
  EXPECT_EQ(Find<QLineEdit>(*again, "txtNombre")->text(), "");
}

TEST_F(frmAsistTaskTest, CopyingATaskOfAnotherComputerTakesItsFoldersAndLettersOnly) {
  db.AddTask({.hostname = "ZETA", .left = "/Z", .right = "/z", .descr = "Last host"});
  const std::int64_t source = db.AddTask({.hostname = "ALPHA", .left = "/Photos", .right = "/home/ana/Photos",
                                          .leftopt = "RA", .rightopt = "EN", .descr = "Theirs",
                                          .options = "RO", .lastexe = "20240505050505"});
  auto wizard = Open();
  test::TypeText(Find<QLineEdit>(*wizard, "txtNombre"), "Mine");
  Find<QRadioButton>(*wizard, "optTipo1")->click();
  Next(*wizard);

  EXPECT_EQ(wizard->Paso(), 11);
  auto* list = Find<QTreeWidget>(*wizard, "lstTareas");
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(0)->text(1), "ALPHA");  // ordered by computer
  EXPECT_EQ(list->topLevelItem(1)->text(1), "ZETA");
  EXPECT_EQ(list->topLevelItem(0)->text(0).toLongLong(), source);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));

  Back(*wizard);  // from the list straight back to the first step
  EXPECT_EQ(wizard->Paso(), 1);
  Next(*wizard);
  Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 6);
  EXPECT_EQ(Find<QLabel>(*wizard, "lblDesc")->text(), "Mine");
  EXPECT_EQ(Find<QLineEdit>(*wizard, "txtUSB")->text().toStdString(), Drive() + "/Photos");
  EXPECT_EQ(Find<QLineEdit>(*wizard, "txtPC")->text(), "/home/ana/Photos");
  Next(*wizard);

  ASSERT_EQ(Rows(), 3);
  const std::int64_t id = LastId();
  EXPECT_EQ(TaskColumn(id, "HOSTNAME"), "PC1");
  EXPECT_EQ(TaskColumn(id, "DESCR"), "Mine");
  EXPECT_EQ(TaskColumn(id, "LEFT"), "/Photos");
  EXPECT_EQ(TaskColumn(id, "RIGHT"), "/home/ana/Photos");
  EXPECT_EQ(TaskColumn(id, "LEFTOPT"), "AR");
  EXPECT_EQ(TaskColumn(id, "RIGHTOPT"), "NE");
  EXPECT_EQ(TaskColumn(id, "OPTIONS"), "RO");
  EXPECT_EQ(TaskColumn(id, "LASTEXE"), "00000000000000");
}

TEST_F(frmAsistTaskTest, CopyingFromAnEmptyTableKeepsWhatThePagesHold) {
  auto wizard = Open();
  test::TypeText(Find<QLineEdit>(*wizard, "txtNombre"), "First");
  Find<QRadioButton>(*wizard, "optTipo1")->click();
  Next(*wizard);
  EXPECT_EQ(Find<QTreeWidget>(*wizard, "lstTareas")->topLevelItemCount(), 0);
  Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 6);
  EXPECT_EQ(Find<QLineEdit>(*wizard, "txtUSB")->text().toStdString(), Drive() + "/");
  EXPECT_TRUE(Find<QCheckBox>(*wizard, "chkUSBDel")->isChecked());
  Next(*wizard);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(TaskColumn(LastId(), "LEFT"), "/");
  EXPECT_EQ(TaskColumn(LastId(), "LEFTOPT"), "NEAR");
  EXPECT_EQ(TaskColumn(LastId(), "OPTIONS"), "");
}

TEST_F(frmAsistTaskTest, ADriveChoiceMovesThePcTreeUnlessTheDriveCannotBeRead) {
  std::filesystem::create_directories(Drive() + "/other");
  session->mounts.mountPoints = {"/", Drive(), Drive() + "/other", Drive() + "/gone"};
  auto wizard = Open();
  auto* drives = Find<QComboBox>(*wizard, "Drive1");
  auto* dir2 = Find<FolderTree>(*wizard, "Dir2");
  auto* pc = Find<QLineEdit>(*wizard, "AstxtPC");
  ASSERT_EQ(drives->count(), 4);
  EXPECT_EQ(drives->itemText(0), "/");

  // In name order: "/", the program's drive, ".../gone", ".../other"; the keyboard picks them.
  ASSERT_EQ(drives->itemText(3).toStdString(), Drive() + "/other");
  drives->setCurrentIndex(0);
  for (int i = 0; i < 3; ++i) test::PressKey(drives, Qt::Key_Down);
  EXPECT_EQ(dir2->Root().toStdString(), Drive() + "/other/");
  EXPECT_EQ(pc->text().toStdString(), Drive() + "/other/");
  test::PressKey(drives, Qt::Key_Up);
  EXPECT_EQ(drives->currentIndex(), 2);
  EXPECT_EQ(dir2->Root().toStdString(), Drive() + "/other/");
  EXPECT_EQ(pc->text().toStdString(), Drive() + "/other/");
}

TEST_F(frmAsistTaskTest, CancelOnTheSummaryCreatesNothing) {
  auto wizard = Open();
  test::TypeText(Find<QLineEdit>(*wizard, "txtNombre"), "Never");
  for (int i = 0; i < 5; ++i) Next(*wizard);
  EXPECT_EQ(wizard->Paso(), 6);
  Find<QPushButton>(*wizard, "butCancel")->click();
  EXPECT_EQ(wizard->result(), QDialog::Rejected);
  EXPECT_EQ(Rows(), 0);
  EXPECT_TRUE(view.log.empty());
}

}  // namespace
}  // namespace tandrel
