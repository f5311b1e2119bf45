// The task editor as an adapter: every control shows its part of the engine's form, and OK hands
// what the controls hold to the engine (which stores it: TaskEditingTest); the name's limit and
// Cancel are the dialog's own.
#include "tests/ui/UiFixture.h"

#include "ui/frmTask.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>

namespace tandrel {
namespace {

using test::Find;

class frmTaskTest : public test::UiFixture {
 protected:
  frmTaskTest() { OpenSession(); }
  std::unique_ptr<frmTask> Open(const test::TempDatabase::Task& row) {
    id = db.AddTask(row);
    EXPECT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
    auto dialog = std::make_unique<frmTask>(*session);
    dialog->Carga(1);
    dialog->show();
    return dialog;
  }
  std::int64_t id = 0;
};

TEST_F(frmTaskTest, EachControlShowsItsLetterAndOkStoresWhatTheControlsHold) {
  auto dialog = Open({.hostname = "PC1", .left = "/Docs", .right = "/srv/pc", .leftopt = "R",
                      .rightopt = "NEAR", .descr = "Docs", .options = "AO"});
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtLeft")->text().toStdString(), Drive() + "/Docs");
  EXPECT_EQ(Find<QLineEdit>(*dialog, "txtRight")->text(), "/srv/pc");
  EXPECT_EQ(dialog->focusWidget(), Find<QLineEdit>(*dialog, "txtNombre"));
  // Each box with the letter it stands for, and whether the task above has it.
  const std::tuple<const char*, const char*, bool> boxes[] = {
      {"chkSubLeft", "LEFTOPT R", true},  {"chkNL", "LEFTOPT N", false},
      {"chkEL", "LEFTOPT E", false},      {"chkAL", "LEFTOPT A", false},
      {"chkSubRight", "RIGHTOPT R", true}, {"chkNR", "RIGHTOPT N", true},
      {"chkER", "RIGHTOPT E", true},      {"chkAR", "RIGHTOPT A", true},
      {"chkRun", "OPTIONS A", true},      {"chkRead", "OPTIONS R", false},
      {"chkOptimista", "OPTIONS O", true}};
  for (const auto& [name, letter, ticked] : boxes) {
    EXPECT_EQ(Find<QCheckBox>(*dialog, name)->isChecked(), ticked) << name;
    Find<QCheckBox>(*dialog, name)->click();  // every box turned over
  }
  test::Retype(Find<QLineEdit>(*dialog, "txtNombre"), QString(60, QChar(u'ñ')));
  test::Retype(Find<QLineEdit>(*dialog, "txtRight"), "/srv/new");
  Find<QAbstractButton>(*dialog, "butOK")->click();

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->ErrorAlGuardar(), "");
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "ñ";  // typing stops at fifty characters
  const std::pair<const char*, std::string> columns[] = {
      {"DESCR", fifty}, {"LEFT", "/Docs"}, {"RIGHT", "/srv/new"}, {"LEFTOPT", "NEA"},
      {"RIGHTOPT", ""}, {"OPTIONS", "R"}};
  for (const auto& [column, value] : columns) EXPECT_EQ(TaskColumn(id, column), value) << column;
}

TEST_F(frmTaskTest, CancelAfterChangesLeavesTheTaskAndItsRowAsTheyWere) {
  auto dialog = Open({.hostname = "PC1", .left = "/A", .right = "/B", .leftopt = "N",
                      .rightopt = "E", .descr = "Keep", .options = ""});
  test::Retype(Find<QLineEdit>(*dialog, "txtNombre"), "Changed");
  for (const char* box : {"chkRun", "chkNL", "Command2"}) {
    Find<QAbstractButton>(*dialog, box)->click();
  }
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(session->Tareas.ITem1(1).Descripcion, "Keep");
  EXPECT_EQ(TaskColumn(id, "DESCR") + TaskColumn(id, "OPTIONS") + TaskColumn(id, "LEFTOPT"), "KeepN");
}

}  // namespace
}  // namespace tandrel
