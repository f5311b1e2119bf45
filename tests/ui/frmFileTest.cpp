// The file detail dialog on real entries, a real task and a real snapshot: what each section shows,
// which choices are offered, and what OK and Cancel leave behind.
#include "tests/ui/UiFixture.h"

#include "core/Public.h"
#include "store/clsArchivo.h"
#include "ui/frmFile.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace tandrel {
namespace {

using test::Find;

class frmFileTest : public test::UiFixture {
 protected:
  frmFileTest() {
    OpenSession();
    taskId = db.AddTask({.hostname = "PC1", .right = "/srv/pc/Docs", .descr = "Docs"});
    EXPECT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
    // A file only on the PC, empty, never synchronised.
    clsArchivo soloPc;
    soloPc.Nombre = "Only Pc.txt";
    soloPc.PC_Ruta = "/srv/pc/Docs/only pc.txt";
    soloPc.PC_Tamano = "0";
    soloPc.PC_Creacion = "20230102030405";
    soloPc.PC_Modificado = "20230203040506";
    soloPc.PC_Acceso = "20230304050607";
    soloPc.Action = "C2";
    session->Archivos.Add(soloPc);
    // A file on both sides, changed on both since the last run.
    clsArchivo ambos;
    ambos.Nombre = "Sub\\Big.bin";
    ambos.USB_Ruta = Drive() + "/Docs/Sub/Big.bin";
    ambos.USB_Tamano = "1234567";
    ambos.USB_Creacion = "20220101000000";
    ambos.USB_Modificado = "20220102000000";
    ambos.USB_Acceso = "20220103000000";
    ambos.PC_Ruta = "/srv/pc/Docs/Sub/Big.bin";
    ambos.PC_Tamano = "99";
    ambos.Action = "!1";
    session->Archivos.Add(ambos);
    db.AddFile({.hostname = "PC1", .task = taskId, .file = "Sub\\Big.bin", .size = "1000"});
    EXPECT_EQ(session->Ficheros.Carga(session->conexion, "PC1", std::to_string(taskId)), "");
    view.fileRows.push_back({"Only Pc.txt", "ADD", "New", "/ <----- /srv", "0 bytes"});
    view.fileRows.push_back({"Sub\\Big.bin", "CONFLICT", "OK", "/ |-!!-| /srv", "99 bytes"});
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

TEST_F(frmFileTest, ShowsBothSidesTheSnapshotAndOnlyTheChoicesThatCanWork) {
  struct Case {
    std::string archivo;
    bool usbNote, pcNote, dbNote;
    QString usbSize, pcSize, dbSize, dbSync;
    const char* modifiedLabel;
    QString modified, arrow;
    std::array<bool, 5> enabled;
  };
  const Case cases[] = {
      {"Only Pc.txt", true, false, true, "", "0 bytes", "", "", "lblPCModified",
       Text(FormateaFecha("20230203040506")), " <----- ",
       {false, true, true, false, true}},
      {"Sub\\Big.bin", false, false, false, Grouped("1,234,567 bytes"), "99 bytes",
       Grouped("1,000 bytes"), Text(FormateaFecha("20200104000000")), "lblUSBModified",
       Text(FormateaFecha("20220102000000")), " |-!!-| ",
       {true, true, true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archivo);
    auto dialog = Open(c.archivo);
    EXPECT_EQ(Find<QLineEdit>(*dialog, "txtFile")->text().toStdString(), c.archivo);
    EXPECT_EQ(dialog->focusWidget(), Find<QLineEdit>(*dialog, "txtFile"));
    EXPECT_EQ(Find<QGroupBox>(*dialog, "lblUSB")->title(), "USB Drive (" + QString::fromStdString(Drive()) + ")");
    EXPECT_EQ(Find<QGroupBox>(*dialog, "lblPC")->title(), "PC Drive (/)");
    EXPECT_EQ(!Find<QLabel>(*dialog, "lblNUSB")->isHidden(), c.usbNote);
    EXPECT_EQ(!Find<QLabel>(*dialog, "lblNPC")->isHidden(), c.pcNote);
    EXPECT_EQ(!Find<QLabel>(*dialog, "lblDB")->isHidden(), c.dbNote);
    EXPECT_EQ(Find<QLabel>(*dialog, "lblUSBSize")->text(), c.usbSize);
    EXPECT_EQ(Find<QLabel>(*dialog, "lblPCSize")->text(), c.pcSize);
    EXPECT_EQ(Find<QLabel>(*dialog, "lastSyncSize")->text(), c.dbSize);
    EXPECT_EQ(Find<QLabel>(*dialog, "lastSyncSync")->text(), c.dbSync);
    EXPECT_EQ(Find<QLabel>(*dialog, c.modifiedLabel)->text(), c.modified);
    EXPECT_EQ(Find<QLabel>(*dialog, "lblAction")->text(), c.arrow);
    for (int i = 0; i < 5; ++i) {
      auto* option = Find<QRadioButton>(*dialog, ("optUser" + std::to_string(i)).c_str());
      EXPECT_EQ(option->isEnabled(), c.enabled[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_FALSE(Find<QPushButton>(*dialog, "butOK")->isEnabled());
  }
}

// OK writes the later of two choices ("ZZ", no action) and redraws the row as chosen by the user;
// Cancel after a choice leaves the entry, its row and the counts as they were.
TEST_F(frmFileTest, OkWritesTheLastChoiceAndCancelLeavesTheEntryAndItsRow) {
  for (const char* button : {"butCancel", "butOK"}) {  // Cancel first: OK changes the entry
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    auto dialog = Open("Sub\\Big.bin");
    Find<QRadioButton>(*dialog, "optUser1")->click();
    EXPECT_TRUE(Find<QPushButton>(*dialog, "butOK")->isEnabled());
    Find<QRadioButton>(*dialog, "optUser4")->click();
    Find<QPushButton>(*dialog, button)->click();
    EXPECT_EQ(dialog->result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(session->Archivos.Item("Sub\\Big.bin").Action, ok ? "ZZ" : "!1");
    EXPECT_EQ(view.Row("Sub\\Big.bin")->icon, ok ? "USER" : "CONFLICT");
    EXPECT_EQ(view.Row("Sub\\Big.bin")->arrow.find(" |-//-| ") != std::string::npos, ok);
    EXPECT_EQ(session->cuentas.conflictos, ok ? 0 : 1);
  }
}

}  // namespace
}  // namespace tandrel
