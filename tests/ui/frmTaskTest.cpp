// The task editor on real task rows: what it shows, the letters it stores and in which order, the
// USB folder without its drive, the name's limit, and Cancel.
#include "tests/ui/DialogFixture.h"

#include "store/clsTarea.h"
#include "ui/frmTask.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace tandrel {
namespace {

using test::Find;

class frmTaskTest : public test::DialogFixture {
 protected:
  // The task of the one row this computer has, loaded as the main window loads it.
  clsTarea& LoadTask(const test::TempDatabase::Task& row) {
    id = db.AddTask(row);
    EXPECT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
    EXPECT_EQ(session->Tareas.Count(), 1);
    return session->Tareas.ITem1(1);
  }

  std::unique_ptr<frmTask> Open(clsTarea& tarea) {
    auto dialog = std::make_unique<frmTask>(*session);
    dialog->Carga(tarea);
    dialog->show();
    return dialog;
  }

  static void Retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    test::PressKey(box, Qt::Key_Delete);
    test::TypeText(box, text);
  }

  std::int64_t id = 0;
};

TEST_F(frmTaskTest, ShowsTheTaskWithTheUsbFolderOnTheProgramsDrive) {
  clsTarea& tarea = LoadTask({.hostname = "PC1", .left = "/Docs", .right = "/srv/pc/Docs",
                              .leftopt = "R", .rightopt = "AN", .descr = "My docs",
                              .options = "OA"});
  auto dialog = Open(tarea);
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtNombre")->text(), "My docs");
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtLeft")->text().toStdString(), Drive() + "/Docs");
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtRight")->text(), "/srv/pc/Docs");
  const std::pair<const char*, bool> boxes[] = {
      {"chkSubLeft", true}, {"chkNL", false},  {"chkEL", false},       {"chkAL", false},
      {"chkSubRight", false}, {"chkNR", true}, {"chkER", false},       {"chkAR", true},
      {"chkRun", true},     {"chkRead", false}, {"chkOptimista", true},
  };
  for (const auto& [name, ticked] : boxes) EXPECT_EQ(Find<QCheckBox>(*dialog, name)->isChecked(), ticked) << name;
}

TEST_F(frmTaskTest, OkWithoutChangesStoresTheLettersInOrderAndThisComputersName) {
  clsTarea& tarea = LoadTask({.hostname = "pc1", .left = "/Docs", .right = "/srv/pc",
                              .leftopt = "R", .rightopt = "RAEN", .descr = "Docs",
                              .options = "ORA", .lastexe = "20240101101010"});
  tarea.LastEXE = "19990101000000";  // a stale copy in memory is never written back
  auto dialog = Open(tarea);
  Find<QPushButton>(*dialog, "butOK")->click();

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->ErrorAlGuardar(), "");
  EXPECT_EQ(TaskColumn(id, "HOSTNAME"), "PC1");
  EXPECT_EQ(TaskColumn(id, "LEFTOPT"), "R");
  EXPECT_EQ(TaskColumn(id, "RIGHTOPT"), "NEAR");
  EXPECT_EQ(TaskColumn(id, "OPTIONS"), "ARO");
  EXPECT_EQ(TaskColumn(id, "LEFT"), "/Docs");
  EXPECT_EQ(TaskColumn(id, "DESCR"), "Docs");
  EXPECT_EQ(TaskColumn(id, "LASTEXE"), "20240101101010");
  EXPECT_EQ(tarea.AutoRun, 1);
}

TEST_F(frmTaskTest, TheUsbFolderIsStoredWithoutWhateverDriveItWasTypedWith) {
  const std::pair<std::string, std::string> cases[] = {
      {Drive() + "/Work/2024", "/Work/2024"},
      {"F:\\Data", "\\Data"},  // another drive: looked for on the program's own drive
      {Drive(), ""},          // nothing after the drive
      {"/elsewhere/Data", "/elsewhere/Data"},  // the root file system is the empty drive
  };
  clsTarea& tarea = LoadTask({.hostname = "PC1", .left = "/Docs", .descr = "Docs"});
  for (const auto& [typed, stored] : cases) {
    SCOPED_TRACE(typed);
    auto dialog = Open(tarea);
    Retype(Find<QLineEdit>(*dialog, "txtLeft"), QString::fromStdString(typed));
    Find<QPushButton>(*dialog, "butOK")->click();
    EXPECT_EQ(tarea.Left, stored);
    EXPECT_EQ(TaskColumn(id, "LEFT"), stored);
  }
}

TEST_F(frmTaskTest, ChangesAreSavedAndTheNameStopsAtFiftyCharacters) {
  clsTarea& tarea = LoadTask({.hostname = "PC1", .left = "/A", .right = "/B", .leftopt = "NEAR",
                              .rightopt = "", .descr = "Old"});
  auto dialog = Open(tarea);
  Retype(Find<QLineEdit>(*dialog, "txtNombre"), QString(60, QChar(u'ñ')));
  Retype(Find<QLineEdit>(*dialog, "txtRight"), "/srv/new");
  Find<QCheckBox>(*dialog, "chkEL")->click();
  Find<QCheckBox>(*dialog, "chkSubRight")->click();
  Find<QCheckBox>(*dialog, "chkRead")->click();
  Find<QPushButton>(*dialog, "butOK")->click();

  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "ñ";
  EXPECT_EQ(TaskColumn(id, "DESCR"), fifty);
  EXPECT_EQ(TaskColumn(id, "RIGHT"), "/srv/new");
  EXPECT_EQ(TaskColumn(id, "LEFTOPT"), "NAR");
  EXPECT_EQ(TaskColumn(id, "RIGHTOPT"), "R");
  EXPECT_EQ(TaskColumn(id, "OPTIONS"), "R");
  EXPECT_EQ(tarea.AutoRun, 0);
}

TEST_F(frmTaskTest, CancelAfterChangesLeavesTheTaskAndItsRowAsTheyWere) {
  clsTarea& tarea = LoadTask({.hostname = "PC1", .left = "/A", .right = "/B", .leftopt = "N",
                              .rightopt = "E", .descr = "Keep", .options = ""});
  {
    auto dialog = Open(tarea);
    Retype(Find<QLineEdit>(*dialog, "txtNombre"), "Changed");
    Find<QCheckBox>(*dialog, "chkRun")->click();
    Find<QCheckBox>(*dialog, "chkNL")->click();
    Find<QPushButton>(*dialog, "Command2")->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
  }
  EXPECT_EQ(tarea.Descripcion, "Keep");
  EXPECT_EQ(tarea.LeftOPT, "N");
  EXPECT_EQ(TaskColumn(id, "DESCR"), "Keep");
  EXPECT_EQ(TaskColumn(id, "OPTIONS"), "");
  auto again = Open(tarea);
  EXPECT_EQ(Find<QLineEdit>(*again, "txtNombre")->text(), "Keep");
  EXPECT_TRUE(Find<QCheckBox>(*again, "chkNL")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(*again, "chkRun")->isChecked());
}

}  // namespace
}  // namespace tandrel
