// The task editor as an adapter: every control shows its part of the engine's form, and OK hands
// what the controls hold to the engine (which stores it: TaskEditingTest); the name's limit and
// Cancel are the dialog's own.
#include "tests/ui/UiFixture.h"

#include "ui/frmTask.h"

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
  // The boxes in the order of their letters: the stick's R N E A, the PC's R N E A, and the
  // task's A (auto-start), R (read-only) and O (optimist).
  const char* boxes[] = {"chkSubLeft", "chkNL", "chkEL", "chkAL", "chkSubRight", "chkNR",
                         "chkER", "chkAR", "chkRun", "chkRead", "chkOptimista"};
  for (const char* button : {"Command2", "butOK"}) {  // Cancel first: OK changes the task
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    frmTask dialog(*session);
    dialog.Carga(1);
    dialog.show();
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtLeft")->text().toStdString(), Drive() + "/Docs");
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtRight")->text(), "/srv/pc");
    EXPECT_EQ(dialog.focusWidget(), Find<QLineEdit>(dialog, "txtNombre"));
    std::string ticked;
    for (const char* name : boxes) {
      ticked += Find<QCheckBox>(dialog, name)->isChecked() ? "1" : "0";
      Find<QCheckBox>(dialog, name)->click();  // every box turned over
    }
    EXPECT_EQ(ticked, "10001111101");
    test::Retype(Find<QLineEdit>(dialog, "txtNombre"), QString(60, QChar(u'ñ')));
    test::Retype(Find<QLineEdit>(dialog, "txtRight"), "/srv/new");
    Find<QAbstractButton>(dialog, button)->click();

    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(dialog.ErrorAlGuardar(), "");
    EXPECT_EQ(session->Tareas.ITem1(1).Descripcion, ok ? fifty : "Docs");
    EXPECT_EQ(TaskRow(id), ok ? "/Docs|/srv/new|NEA||" + fifty + "|R" : "/Docs|/srv/pc|R|NEAR|Docs|AO");
  }
}

}  // namespace
}  // namespace tandrel
