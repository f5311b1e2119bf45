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
};

TEST_F(frmTaskTest, EachControlShowsItsLetterOkStoresWhatTheControlsHoldCancelNothing) {
  const std::int64_t id =
      db.AddTask({.hostname = "PC1", .left = "/Docs", .right = "/srv/pc", .leftopt = "R",
                  .rightopt = "NEAR", .descr = "Docs", .options = "AO"});
  ASSERT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "ñ";  // typing stops at fifty characters
  for (const char* button : {"Command2", "butOK"}) {  // Cancel first: OK changes the task
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    frmTask dialog(*session);
    dialog.Carga(1);
    dialog.show();
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtLeft")->text().toStdString(), Drive() + "/Docs");
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtRight")->text(), "/srv/pc");
    EXPECT_EQ(dialog.focusWidget(), Find<QLineEdit>(dialog, "txtNombre"));
    // Each box with the letter it stands for, and whether the task above has it.
    const std::tuple<const char*, const char*, bool> boxes[] = {
        {"chkSubLeft", "LEFTOPT R", true},  {"chkNL", "LEFTOPT N", false},
        {"chkEL", "LEFTOPT E", false},      {"chkAL", "LEFTOPT A", false},
        {"chkSubRight", "RIGHTOPT R", true}, {"chkNR", "RIGHTOPT N", true},
        {"chkER", "RIGHTOPT E", true},      {"chkAR", "RIGHTOPT A", true},
        {"chkRun", "OPTIONS A", true},      {"chkRead", "OPTIONS R", false},
        {"chkOptimista", "OPTIONS O", true}};
    for (const auto& [name, letter, ticked] : boxes) {
      EXPECT_EQ(Find<QCheckBox>(dialog, name)->isChecked(), ticked) << name;
      Find<QCheckBox>(dialog, name)->click();  // every box turned over
    }
    test::Retype(Find<QLineEdit>(dialog, "txtNombre"), QString(60, QChar(u'ñ')));
    test::Retype(Find<QLineEdit>(dialog, "txtRight"), "/srv/new");
    Find<QAbstractButton>(dialog, button)->click();

    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(dialog.ErrorAlGuardar(), "");
    EXPECT_EQ(session->Tareas.ITem1(1).Descripcion, ok ? fifty : "Docs");
    const std::tuple<const char*, std::string, std::string> columns[] = {
        {"DESCR", "Docs", fifty},    {"LEFT", "/Docs", "/Docs"},  {"RIGHT", "/srv/pc", "/srv/new"},
        {"LEFTOPT", "R", "NEA"},     {"RIGHTOPT", "NEAR", ""},    {"OPTIONS", "AO", "R"}};
    for (const auto& [column, before, after] : columns) {
      EXPECT_EQ(TaskColumn(id, column), ok ? after : before) << column;
    }
  }
}

}  // namespace
}  // namespace tandrel
