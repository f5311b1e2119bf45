// The file detail dialog on real entries, a real task and a real snapshot: what each section shows,
// which choices are offered, and what OK and Cancel leave behind.
#include "tests/ui/UiFixture.h"

#include "core/Public.h"
#include "store/clsArchivo.h"
#include "ui/frmFile.h"

namespace tandrel {
namespace {

using test::Find;

const char* const kConflict = "Letters\\Bank 2024.odt";

class frmFileTest : public test::UiFixture {
 protected:
  frmFileTest() {
    OpenSession();
    taskId = db.AddTask({.hostname = "PC1", .right = "/home/ana/Documents", .descr = "Documents"});
    EXPECT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
    // A file only on the PC, empty, never synchronised.
    session->Archivos.Add({.Nombre = "Only Pc.txt", .PC_Ruta = "/home/ana/Documents/only pc.txt",
                           .PC_Tamano = "0", .PC_Creacion = "20230102030405",
                           .PC_Acceso = "20230304050607", .PC_Modificado = "20230203040506",
                           .Action = "C2"});
    AddConflictEntry(taskId);
    view.fileRows.push_back({"Only Pc.txt", "ADD", "New", "/ <----- /srv", "0 bytes"});
    view.fileRows.push_back({kConflict, "CONFLICT", "OK", "/ |-!!-| /home", "1830007 bytes"});
    session->cuentas.conflictos = 1;
  }

  std::unique_ptr<frmFile> Open(const std::string& archivo) {
    auto dialog = std::make_unique<frmFile>(*session, view);
    dialog->IDTarea = 1;
    dialog->Archivo = archivo;
    dialog->show();
    return dialog;
  }

  static QString Grouped(const QString& digits) {
    QString separator = QLocale::system().groupSeparator();
    if (separator.isEmpty()) separator = ",";
    return QString(digits).replace(",", separator);
  }

  static QString Text(const std::string& text) { return QString::fromStdString(text); }

  std::int64_t taskId = 0;
};

// Each entry's dialog as one line: the notes shown (no USB copy, no PC copy, no snapshot row), the
// sizes of both sides and of the snapshot, the last synchronisation, both sides' modification
// times, the arrow, and which of the five choices are offered.
TEST_F(frmFileTest, ShowsBothSidesTheSnapshotAndOnlyTheChoicesThatCanWork) {
  const QString conflictPc = Text(FormateaFecha("20240310120004"));
  const std::pair<std::string, QString> cases[] = {
      {"Only Pc.txt", "101||0 bytes||||" + Text(FormateaFecha("20230203040506")) + "| <----- |01101"},
      {kConflict, "000|" + Grouped("1,834,512 bytes|1,830,007 bytes|1,830,007 bytes|") +
                      Text(FormateaFecha("20240301100502")) + "|" + Text(FormateaFecha("20240311174233")) +
                      "|" + conflictPc + "| |-!!-| |11111"},
  };
  for (const auto& [archivo, expected] : cases) {
    SCOPED_TRACE(archivo);
    auto dialog = Open(archivo);
    QStringList shown{""};
    for (const char* note : {"lblNUSB", "lblNPC", "lblDB"})
      shown[0] += Find<QLabel>(*dialog, note)->isHidden() ? "0" : "1";
    for (const char* label : {"lblUSBSize", "lblPCSize", "lastSyncSize", "lastSyncSync", "lblUSBModified",
                              "lblPCModified", "lblAction"})
      shown << Find<QLabel>(*dialog, label)->text();
    shown << "";
    for (int i = 0; i < 5; ++i)
      shown.back() += Find<QRadioButton>(*dialog, ("optUser" + std::to_string(i)).c_str())->isEnabled() ? "1" : "0";
    EXPECT_EQ(shown.join("|").toStdString(), expected.toStdString());
    EXPECT_EQ(Find<QLineEdit>(*dialog, "txtFile")->text().toStdString(), archivo);
    EXPECT_EQ(dialog->focusWidget(), Find<QLineEdit>(*dialog, "txtFile"));
    EXPECT_EQ(Find<QGroupBox>(*dialog, "lblUSB")->title() + Find<QGroupBox>(*dialog, "lblPC")->title(),
              "USB Drive (" + Text(Drive()) + ")PC Drive (/)");
    EXPECT_FALSE(Find<QPushButton>(*dialog, "butOK")->isEnabled());
  }
}

// OK writes the later of two choices ("ZZ", no action) and redraws the row as chosen by the user;
// Cancel after a choice leaves the entry, its row and the counts as they were.
TEST_F(frmFileTest, OkWritesTheLastChoiceAndCancelLeavesTheEntryAndItsRow) {
  for (const char* button : {"butCancel", "butOK"}) {  // Cancel first: OK changes the entry
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    auto dialog = Open(kConflict);
    Find<QRadioButton>(*dialog, "optUser1")->click();
    EXPECT_TRUE(Find<QPushButton>(*dialog, "butOK")->isEnabled());
    Find<QRadioButton>(*dialog, "optUser4")->click();
    Find<QPushButton>(*dialog, button)->click();
    EXPECT_EQ(dialog->result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(session->Archivos.Item(kConflict).Action, ok ? "ZZ" : "!1");
    EXPECT_EQ(view.Row(kConflict)->icon, ok ? "USER" : "CONFLICT");
    EXPECT_EQ(view.Row(kConflict)->arrow.find(" |-//-| ") != std::string::npos, ok);
    EXPECT_EQ(session->cuentas.conflictos, ok ? 0 : 1);
  }
}

}  // namespace
}  // namespace tandrel
