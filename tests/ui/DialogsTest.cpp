// Every dialog, in English and in Spanish, over a real database and real folders: laid out
// offscreen, no caption may be cut (each button and one-line label gets at least the width it asks
// for, each wrapped label the height its text needs); OK stores what the controls hold through the
// engine, Cancel stores nothing. scripts/screenshots runs them again to save each dialog as a
// picture for the README.
#include "tests/ui/UiFixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "core/Public.h"
#include "engine/Session.h"
#include "store/Conexion.h"
#include "store/clsArchivo.h"
#include "tests/support/FolderPair.h"
#include "ui/FolderTree.h"
#include "ui/Icons.h"
#include "ui/LanguageList.h"
#include "ui/PeersDialog.h"
#include "ui/frmAsistTask.h"
#include "ui/frmFile.h"
#include "ui/frmOPT.h"
#include "ui/frmTask.h"

namespace tandrel {
namespace {

using test::Find;

// The captions of the visible controls that do not get the room their text needs.
std::vector<std::string> CutCaptions(const QWidget& dialog) {
  std::vector<std::string> cut;
  for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (button->isVisible() && (button->width() < button->minimumSizeHint().width() ||
                                button->height() < button->minimumSizeHint().height())) {
      cut.push_back(button->text().toStdString());
    }
  }
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->isVisible()) continue;
    const bool short_ = label->wordWrap()
                            ? label->height() < label->heightForWidth(label->width())
                            : label->width() < label->minimumSizeHint().width() ||
                                  label->height() < label->minimumSizeHint().height();
    if (short_) cut.push_back(label->text().toStdString());
  }
  return cut;
}

class Dialogs : public test::UiFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  Dialogs() {
    EXPECT_EQ(ConectaBD(session.conexion, session.INI, db.Folder()), "");
    session.Hostname = "PC1";
    session.INI.Language = GetParam();
    session.RecargaWords();
    for (const char* folder : {"Documents/Letters", "Music", "Photos/2024", "Projects"}) {
      std::filesystem::create_directories(Drive() + "/" + folder);
    }
  }

  // LEFT|RIGHT|LEFTOPT|RIGHTOPT|DESCR|OPTIONS of a TASKS row (the last one created when id is 0).
  std::string TaskRow(std::int64_t id = 0) {
    return db.Value(R"(SELECT "LEFT" || '|' || "RIGHT" || '|' || LEFTOPT || '|' || RIGHTOPT ||
                       '|' || DESCR || '|' || OPTIONS FROM TASKS WHERE )" +
                    std::to_string(id) + " IN (0, ID) ORDER BY ID DESC");
  }

  void Shoot(QWidget& dialog, const std::string& name) {
    dialog.show();
    // The size a dialog opens with on a desktop screen; the offscreen screen (800 x 600) would
    // hold it to two thirds of that.
    const int width = dialog.sizeHint().width();
    const QLayout* layout = dialog.layout();
    dialog.resize(width, layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                     : dialog.sizeHint().height());
    test::Pump();
    EXPECT_TRUE(CutCaptions(dialog).empty())
        << name << ": " << ::testing::PrintToString(CutCaptions(dialog));
    const char* pictures = std::getenv("TANDREL_PICTURES");  // set by scripts/screenshots only
    if (pictures == nullptr) return;
    std::filesystem::create_directories(pictures);
    const std::string file = std::string(pictures) + "/" + name + "-" + GetParam() + ".png";
    // A palette of 256 colours keeps the pictures small enough for the repository.
    const QImage picture = dialog.grab().toImage().convertToFormat(
        QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    EXPECT_TRUE(picture.save(QString::fromStdString(file))) << file;
  }

  Session session{db.Folder(), "Tandrel", MountTable{{"/", db.Folder()}}, fs};
};

// A choice is offered only where the copy its operation starts from is there; OK writes the later
// of two choices ("ZZ", no action) and redraws the row as chosen by the user; Cancel after a
// choice leaves the entry, its row and the counts as they were.
TEST_P(Dialogs, FileDetailShowsBothSidesAndOkWritesTheLastChoice) {
  db.AddTask({.hostname = "PC1", .right = "/home/ana/Documents", .descr = "Documents"});
  ASSERT_EQ(session.Tareas.Carga(session.conexion, "PC1"), "");
  const std::string conflict = "Letters\\Bank 2024.odt";
  session.Archivos.Add(
      {.Nombre = conflict, .USB_Ruta = Drive() + "/Documents/Letters/Bank 2024.odt",
       .USB_Tamano = "1834512", .USB_Creacion = "20240105091500", .USB_Acceso = "20240312080102",
       .USB_Modificado = "20240311174233", .PC_Ruta = "/home/ana/Documents/Letters/Bank 2024.odt",
       .PC_Tamano = "1830007", .PC_Creacion = "20240105091500", .PC_Acceso = "20240311090000",
       .PC_Modificado = "20240310120004", .Action = "!1"});
  session.Archivos.Add({.Nombre = "Only Pc.txt", .PC_Ruta = "/home/ana/Documents/only pc.txt",
                        .PC_Tamano = "0", .Action = "C2"});
  db.AddFile({.hostname = "PC1", .task = 1, .file = conflict, .creation = "20240105091500",
              .size = "1830007", .last = "20240301100000", .access = "20240301100000",
              .sync = "20240301100502"});
  ASSERT_EQ(session.Ficheros.Carga(session.conexion, "PC1", "1"), "");
  view.fileRows.push_back({conflict, "CONFLICT", "OK", "/ |-!!-| /home", "1830007 bytes"});
  session.cuentas.conflictos = 1;
  const auto offered = [](const frmFile& dialog) {
    std::string enabled;
    for (const char* name : {"optUser0", "optUser1", "optUser2", "optUser3", "optUser4"})
      enabled += Find<QRadioButton>(dialog, name)->isEnabled() ? "1" : "0";
    return enabled;
  };
  frmFile onlyPc(session, view);
  onlyPc.IDTarea = 1;
  onlyPc.Archivo = "Only Pc.txt";
  onlyPc.show();
  EXPECT_EQ(offered(onlyPc), "01101");

  for (const char* button : {"butCancel", "butOK"}) {  // Cancel first: OK changes the entry
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    frmFile dialog(session, view);
    dialog.IDTarea = 1;
    dialog.Archivo = conflict;
    Shoot(dialog, "file-detail");
    QStringList shown;
    for (const char* label : {"lblUSBModified", "lblPCModified", "lastSyncSync", "lblAction"})
      shown << Find<QLabel>(dialog, label)->text();
    EXPECT_EQ(shown.join("|").toStdString(),
              FormateaFecha("20240311174233") + "|" + FormateaFecha("20240310120004") + "|" +
                  FormateaFecha("20240301100502") + "| |-!!-| ");
    EXPECT_EQ(offered(dialog), "11111");
    Find<QRadioButton>(dialog, "optUser1")->click();
    Find<QRadioButton>(dialog, "optUser4")->click();
    Find<QPushButton>(dialog, button)->click();
    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(session.Archivos.Item(conflict).Action, ok ? "ZZ" : "!1");
    EXPECT_EQ(view.Row(conflict)->icon, ok ? "USER" : "CONFLICT");
    EXPECT_EQ(view.Row(conflict)->arrow.find(" |-//-| ") != std::string::npos, ok);
    EXPECT_EQ(session.cuentas.conflictos, ok ? 0 : 1);
  }
}

// Each box shows its letter, and OK hands what the controls hold to the engine (which stores it:
// TaskEditingTest); the name's limit and Cancel are the dialog's own.
TEST_P(Dialogs, TaskEditorOkStoresWhatTheControlsHoldAndCancelNothing) {
  const std::int64_t id =
      db.AddTask({.hostname = "PC1", .left = "/Documents", .right = "/home/ana/Documents",
                  .leftopt = "NEAR", .rightopt = "NAR", .descr = "Documents", .options = "A"});
  ASSERT_EQ(session.Tareas.Carga(session.conexion, "PC1"), "");
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "ñ";  // typing stops at fifty characters
  // The boxes in the order of their letters: the stick's R N E A, the PC's R N E A, and the
  // task's A (auto-start), R (read-only) and O (optimist).
  const char* boxes[] = {"chkSubLeft", "chkNL", "chkEL", "chkAL", "chkSubRight", "chkNR",
                         "chkER", "chkAR", "chkRun", "chkRead", "chkOptimista"};
  for (const char* button : {"Command2", "butOK"}) {  // Cancel first: OK changes the task
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    frmTask dialog(session);
    dialog.Carga(1);
    Shoot(dialog, "task-editor");
    EXPECT_EQ(Find<QLineEdit>(dialog, "txtLeft")->text().toStdString(), Drive() + "/Documents");
    std::string ticked;
    for (const char* name : boxes) {
      ticked += Find<QCheckBox>(dialog, name)->isChecked() ? "1" : "0";
      Find<QCheckBox>(dialog, name)->click();  // every box turned over
    }
    EXPECT_EQ(ticked, "11111101100");
    test::Retype(Find<QLineEdit>(dialog, "txtNombre"), QString(60, QChar(u'ñ')));
    test::Retype(Find<QLineEdit>(dialog, "txtRight"), "/srv/new");
    Find<QAbstractButton>(dialog, button)->click();
    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(dialog.ErrorAlGuardar(), "");
    EXPECT_EQ(TaskRow(id), ok ? "/Documents|/srv/new||E|" + fifty + "|RO"
                              : "/Documents|/home/ana/Documents|NEAR|NAR|Documents|A");
  }
}

TEST_P(Dialogs, OptionsOkStoresWhatTheControlsHoldAndCancelLeavesTheSettings) {
  const std::string other = std::string(GetParam()) == "EN" ? "ES" : "EN";
  for (const char* button : {"butCancel", "butOK"}) {  // Cancel first: OK changes the language
    SCOPED_TRACE(button);
    const bool ok = std::string(button) == "butOK";
    session.INI.Language = GetParam();
    session.INI.DB_DataSource = "data\\db.mdb;";
    session.INI.CompactDataBase = true;
    frmOPT dialog(session, view);
    Shoot(dialog, "options");
    // The program's two languages, in name order: the other one is a key away.
    QTest::keyClick(Find<QComboBox>(dialog, "Combo1"), other == "ES" ? Qt::Key_Down : Qt::Key_Up);
    test::TypeText(Find<QLineEdit>(dialog, "Text1"), "x");
    Find<QCheckBox>(dialog, "Check1")->click();
    Find<QPushButton>(dialog, button)->click();
    EXPECT_EQ(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    const clsArchivoINI& ini = session.INI;
    EXPECT_EQ(std::tuple(ini.Language, ini.DB_DataSource, ini.CompactDataBase),
              ok ? std::tuple(other, std::string("data\\db.mdb;x"), false)
                 : std::tuple(std::string(GetParam()), std::string("data\\db.mdb;"), true));
  }
}

// Every page in turn, copying included; the PC folder changed on the way back from the summary
// reaches the one row OK creates; Cancel creates none.
TEST_P(Dialogs, NewTaskWizardPagesAndTheRowItsControlsHold) {
  db.AddTask({.hostname = "LAPTOP", .left = "/Photos", .right = "/home/ana/Pictures",
              .leftopt = "NAR", .rightopt = "NAR", .descr = "Photos"});
  db.AddTask({.hostname = "PC1", .left = "/Music", .right = "/home/ana/Music", .leftopt = "NEAR",
              .rightopt = "NEAR", .descr = "Music"});
  // The PC tree opens on the current folder: one that looks like a user's, not the build's.
  const std::string home = Drive() + "/home/ana/Documents";
  std::filesystem::create_directories(home);
  std::filesystem::create_directories(Drive() + "/home/ana/Music");
  const QString before = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(home));
  frmAsistTask wizard(session, view);
  QDir::setCurrent(before);
  auto next = [&](int times = 1) {
    for (int i = 0; i < times; ++i) Find<QPushButton>(wizard, "Command1")->click();
  };
  auto back = [&](int times) {
    for (int i = 0; i < times; ++i) Find<QPushButton>(wizard, "butPrev")->click();
  };
  test::TypeText(Find<QLineEdit>(wizard, "txtNombre"), "Documents");
  Shoot(wizard, "wizard-1-name");
  Find<QRadioButton>(wizard, "optTipo1")->click();
  next();
  Shoot(wizard, "wizard-11-copy");
  back(1);
  Find<QRadioButton>(wizard, "optTipo0")->click();
  next();
  Shoot(wizard, "wizard-2-usb");
  next();
  test::TypeText(Find<QLineEdit>(wizard, "AstxtPC"), "/home/ana/Documents");
  Shoot(wizard, "wizard-3-pc");
  next();
  Shoot(wizard, "wizard-4-changes");
  next();
  Shoot(wizard, "wizard-5-options");
  next();
  Shoot(wizard, "wizard-6-summary");
  EXPECT_EQ(wizard.Paso(), 6);

  back(4);
  auto* dir1 = Find<FolderTree>(wizard, "Dir1");
  const auto projects = dir1->findItems("Projects", Qt::MatchExactly | Qt::MatchRecursive);
  ASSERT_EQ(projects.size(), 1);
  QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {},
                    dir1->visualItemRect(projects[0]).center());
  next();
  test::Retype(Find<QLineEdit>(wizard, "AstxtPC"), "/srv/second");
  next(3);
  EXPECT_EQ(Find<QLineEdit>(wizard, "txtPC")->text(), "/srv/second");
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS"), 2);
  next();
  EXPECT_EQ(wizard.result(), QDialog::Accepted);
  EXPECT_EQ(TaskRow(), "/Projects|/srv/second|NEAR|NEAR|Documents|");

  frmAsistTask cancelled(session, view);
  Find<QPushButton>(cancelled, "Command1")->click();  // no name yet: a message, the page stays
  EXPECT_EQ(cancelled.Paso(), 1);
  EXPECT_EQ(view.messages.size(), 1u);
  test::TypeText(Find<QLineEdit>(cancelled, "txtNombre"), "Other");
  Find<QPushButton>(cancelled, "butCancel")->click();
  EXPECT_EQ(db.Count("SELECT count(*) FROM TASKS"), 3);
}

TEST_P(Dialogs, OtherComputers) {
  const std::int64_t monday = test::UtcSeconds(2024, 3, 11, 17, 42, 33);  // "20240311174233"
  for (const char* name : {"Letters/Bank 2024.odt", "Budget.ods", "Plan.odt"}) {
    const std::string path = Drive() + "/Documents/" + name;
    test::WriteBytes(path, std::string(1200, 'x'));
    const timespec times[2] = {{monday, 0}, {monday, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  db.AddTask({.hostname = "PC1", .left = "/Documents", .right = "/home/ana/Documents",
              .leftopt = "NEAR", .rightopt = "NEAR", .descr = "Documents"});
  const auto peer = [&](const char* host, const char* left, const char* right, const char* last) {
    return db.AddTask({.hostname = host, .left = left, .right = right, .leftopt = "NEAR",
                       .rightopt = "NEAR", .descr = "Documents", .lastexe = last});
  };
  const std::int64_t home =
      peer("HOME-PC", "\\Documents", "C:\\Users\\ana\\Documents", "20240311180102");
  peer("OFFICE", "\\documents\\", "/srv/ana/docs", "20240308091500");
  peer("LAPTOP", "/Documents", "/home/ana/Docs", "00000000000000");
  for (const char* name : {"Letters\\Bank 2024.odt", "Budget.ods", "Plan.odt"}) {
    db.AddFile({.hostname = "HOME-PC", .task = home, .file = name, .size = "1200",
                .last = "20240311174233"});
  }
  ASSERT_EQ(session.Tareas.Carga(session.conexion, "PC1"), "");

  const ImageList images = MakeStateImages();
  PeersDialog dialog(session, view, images);
  dialog.Carga(1);
  // The counts are the engine's (PeersTest); here, that the rows and the waiting list show.
  EXPECT_EQ(Find<QTreeWidget>(dialog, "lstPeers")->topLevelItemCount(), 3);
  dialog.ShowWaiting(2);
  EXPECT_EQ(Find<QTreeView>(dialog, "lstWaiting")->model()->rowCount(), 3);
  Shoot(dialog, "other-computers");
}

INSTANTIATE_TEST_SUITE_P(Languages, Dialogs, ::testing::Values("EN", "ES"));

// The header line of each "*.txt" file (any case) in name order, after a byte-order mark and
// spaces; a file without one is left out. A folder that cannot be listed is no list at all, which
// the options dialog reports.
using LanguageFiles = test::UiFixture;

TEST_F(LanguageFiles, ListTakesEachFilesHeaderInNameOrder) {
  const std::string folder = db.Folder() + "/More";
  test::WriteBytes(folder + "/a.txt", "; comment\r\nkey=text\r\n:de=Deutsch\r\n");
  test::WriteBytes(folder + "/B.txt", ":   EN = English  \n");
  test::WriteBytes(folder + "/C.TXT", ":no header here\r:FR=Français\r");
  test::WriteBytes(folder + "/D.txt", "\xEF\xBB\xBF:EN=English (United States)\r\n");
  test::WriteBytes(folder + "/E.txt", "mnuExit=Exit\r\n :XX=indented, not a header\r\n");
  test::WriteBytes(folder + "/F.md", ":IT=Italiano\r\n");
  std::filesystem::create_directory(folder + "/G.txt");  // cannot be read
  EXPECT_EQ(ListaIdiomas(folder), (std::vector<std::string>{"de=Deutsch", "EN = English",
                                                            "FR=Français",
                                                            "EN=English (United States)"}));
  EXPECT_EQ(ListaIdiomas(folder + "/none"), std::nullopt);
}

}  // namespace
}  // namespace tandrel
