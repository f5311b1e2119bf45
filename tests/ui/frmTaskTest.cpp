// The task editor on real task rows: what it shows, the letters it stores and in which order, the
// USB folder without its drive, the name's limit, and Cancel.
#include "tests/ui/DialogFixture.h"

#include "store/clsTarea.h"
#include "ui/frmTask.h"

#include <QAbstractButton>
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
    return session->Tareas.ITem1(1);
  }
  std::unique_ptr<frmTask> Open(clsTarea& tarea) {
    auto dialog = std::make_unique<frmTask>(*session);
    dialog->Carga(tarea);
    dialog->show();
    return dialog;
  }
  static void Click(frmTask& dialog, const char* name) {
    Find<QAbstractButton>(dialog, name)->click();
  }

  std::int64_t id = 0;
};

TEST_F(frmTaskTest, OkWithoutChangesStoresTheLettersInOrderAndThisComputersName) {
  clsTarea& tarea = LoadTask({.hostname = "pc1", .left = "/Docs", .right = "/srv/pc", .leftopt = "R",
                              .rightopt = "RAEN", .descr = "Docs", .options = "ORA",
                              .lastexe = "20240101101010"});
  tarea.LastEXE = "19990101000000";  // a stale copy in memory is never written back
  auto dialog = Open(tarea);
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtLeft")->text().toStdString(), Drive() + "/Docs");
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtRight")->text(), "/srv/pc");
  const std::pair<const char*, bool> boxes[] = {
      {"chkSubLeft", true},  {"chkNL", false}, {"chkEL", false},   {"chkAL", false},
      {"chkSubRight", true}, {"chkNR", true},  {"chkER", true},    {"chkAR", true},
      {"chkRun", true},      {"chkRead", true}, {"chkOptimista", true},
  };
  for (const auto& [name, ticked] : boxes) {
    EXPECT_EQ(Find<QCheckBox>(*dialog, name)->isChecked(), ticked) << name;
  }
  Click(*dialog, "butOK");

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->ErrorAlGuardar(), "");
  const std::pair<const char*, const char*> columns[] = {
      {"HOSTNAME", "PC1"}, {"LEFTOPT", "R"}, {"RIGHTOPT", "NEAR"}, {"OPTIONS", "ARO"},
      {"LEFT", "/Docs"},   {"DESCR", "Docs"}, {"LASTEXE", "20240101101010"},
  };
  for (const auto& [column, value] : columns) EXPECT_EQ(TaskColumn(id, column), value) << column;
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
    auto dialog = Open(tarea);
    test::Retype(Find<QLineEdit>(*dialog, "txtLeft"), QString::fromStdString(typed));
    Click(*dialog, "butOK");
    EXPECT_EQ(TaskColumn(id, "LEFT"), stored) << typed;
  }
}

TEST_F(frmTaskTest, OpenAndOkKeepsTheUsbFolderOnAStickWithSpacesAndOnTheRoot) {
  struct Case {
    std::string programFolder, left, shown;
  };
  const Case cases[] = {
      {"/media/Ana/MY STICK/Tandrel", "Data", "/media/Ana/MY STICK/Data"},
      {"/media/Ana/MY STICK/Tandrel", "/Data", "/media/Ana/MY STICK/Data"},
      {"/media/Ana/MY STICK/Tandrel", "\\Work\\2024", "/media/Ana/MY STICK/Work/2024"},
      {"/media/Ana/MY STICK/Tandrel", "", "/media/Ana/MY STICK/"},
      {"/opt/Tandrel", "Data", "/Data"},
      {"/opt/Tandrel", "/home/Ana/Data", "/home/Ana/Data"},
  };
  for (const Case& c : cases) {
    session->carpetaPrograma = c.programFolder;
    session->mounts = MountTable{{"/", "/media/Ana/MY STICK", "/home"}};
    LoadTask({.hostname = "PC1", .left = c.left, .descr = "Round trip"});
    clsTarea& tarea = session->Tareas.ITem1(session->Tareas.Count());
    ASSERT_EQ(tarea.ID, id);
    auto dialog = Open(tarea);
    EXPECT_EQ(Find<QLineEdit>(*dialog, "txtLeft")->text().toStdString(), c.shown) << c.left;
    EXPECT_EQ(dialog->focusWidget(), Find<QLineEdit>(*dialog, "txtNombre"));
    Click(*dialog, "butOK");
    EXPECT_EQ(TaskColumn(id, "LEFT"), c.left) << c.programFolder;
  }
}

TEST_F(frmTaskTest, ChangesAreSavedAndTheNameStopsAtFiftyCharacters) {
  clsTarea& tarea = LoadTask({.hostname = "PC1", .left = "/A", .right = "/B", .leftopt = "NEAR",
                              .rightopt = "", .descr = "Old"});
  auto dialog = Open(tarea);
  test::Retype(Find<QLineEdit>(*dialog, "txtNombre"), QString(60, QChar(u'ñ')));
  test::Retype(Find<QLineEdit>(*dialog, "txtRight"), "/srv/new");
  for (const char* box : {"chkEL", "chkSubRight", "chkRead", "butOK"}) Click(*dialog, box);

  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "ñ";
  const std::pair<const char*, std::string> columns[] = {
      {"DESCR", fifty}, {"RIGHT", "/srv/new"}, {"LEFTOPT", "NAR"}, {"RIGHTOPT", "R"}, {"OPTIONS", "R"},
  };
  for (const auto& [column, value] : columns) EXPECT_EQ(TaskColumn(id, column), value) << column;
  EXPECT_EQ(tarea.AutoRun, 0);
}

TEST_F(frmTaskTest, CancelAfterChangesLeavesTheTaskAndItsRowAsTheyWere) {
  clsTarea& tarea = LoadTask({.hostname = "PC1", .left = "/A", .right = "/B", .leftopt = "N",
                              .rightopt = "E", .descr = "Keep", .options = ""});
  auto dialog = Open(tarea);
  test::Retype(Find<QLineEdit>(*dialog, "txtNombre"), "Changed");
  for (const char* box : {"chkRun", "chkNL", "Command2"}) Click(*dialog, box);
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(tarea.Descripcion, "Keep");
  EXPECT_EQ(tarea.OPTIONS, "");
  EXPECT_EQ(TaskColumn(id, "DESCR"), "Keep");

  auto again = Open(tarea);
  EXPECT_EQ(Find<QLineEdit>(*again, "txtNombre")->text(), "Keep");
  EXPECT_TRUE(Find<QCheckBox>(*again, "chkNL")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(*again, "chkRun")->isChecked());
}

}  // namespace
}  // namespace tandrel
