// Every dialog, in English and in Spanish, laid out offscreen: no caption may be cut (each button
// and one-line label gets at least the width it asks for, each wrapped label the height its text
// needs). scripts/screenshots runs them again to save each as a picture for the README.
#include "tests/ui/UiFixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/support/FolderPair.h"
#include "ui/Icons.h"
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

class DialogScreenshots : public test::UiFixture, public ::testing::WithParamInterface<const char*> {
 protected:
  DialogScreenshots() {
    OpenSession();
    session->INI.Language = GetParam();
    session->RecargaWords();
    for (const char* folder : {"Documents/Letters", "Music", "Photos/2024", "Projects"}) {
      std::filesystem::create_directories(Drive() + "/" + folder);
    }
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
    EXPECT_TRUE(CutCaptions(dialog).empty()) << name << ": " << ::testing::PrintToString(CutCaptions(dialog));
    if (test::PictureFolder().empty()) return;  // pictures only for scripts/screenshots
    std::filesystem::create_directories(test::PictureFolder());
    const std::string file = test::PictureFolder() + "/" + name + "-" + GetParam() + ".png";
    // A palette of 256 colours keeps the pictures small enough for the repository.
    const QImage picture = dialog.grab().toImage().convertToFormat(
        QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    EXPECT_TRUE(picture.save(QString::fromStdString(file))) << file;
  }
};

TEST_P(DialogScreenshots, FileDetail) {
  db.AddTask({.hostname = "PC1", .right = "/home/ana/Documents", .descr = "Documents"});
  ASSERT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
  AddConflictEntry(1);
  frmFile dialog(*session, view);
  dialog.IDTarea = 1;
  dialog.Archivo = "Letters\\Bank 2024.odt";
  Shoot(dialog, "file-detail");
}

TEST_P(DialogScreenshots, TaskEditor) {
  db.AddTask({.hostname = "PC1", .left = "/Documents", .right = "/home/ana/Documents",
              .leftopt = "NEAR", .rightopt = "NAR", .descr = "Documents", .options = "A"});
  ASSERT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");
  frmTask dialog(*session);
  dialog.Carga(1);
  Shoot(dialog, "task-editor");
}

TEST_P(DialogScreenshots, Options) {
  frmOPT dialog(*session, view);
  Shoot(dialog, "options");
}

TEST_P(DialogScreenshots, NewTaskWizardPages) {
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
  frmAsistTask wizard(*session, view);
  QDir::setCurrent(before);
  auto next = [&] { Find<QPushButton>(wizard, "Command1")->click(); };
  test::TypeText(Find<QLineEdit>(wizard, "txtNombre"), "Documents");
  Shoot(wizard, "wizard-1-name");
  Find<QRadioButton>(wizard, "optTipo1")->click();
  next();
  Shoot(wizard, "wizard-11-copy");
  Find<QPushButton>(wizard, "butPrev")->click();
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
}

TEST_P(DialogScreenshots, OtherComputers) {
  const std::int64_t monday = test::UtcSeconds(2024, 3, 11, 17, 42, 33);  // "20240311174233"
  for (const char* name : {"Letters/Bank 2024.odt", "Budget.ods", "Plan.odt"}) {
    const std::string path = Drive() + "/Documents/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << std::string(1200, 'x');
    const timespec times[2] = {{monday, 0}, {monday, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  }
  db.AddTask({.hostname = "PC1", .left = "/Documents", .right = "/home/ana/Documents",
              .leftopt = "NEAR", .rightopt = "NEAR", .descr = "Documents"});
  const auto peer = [&](const char* host, const char* left, const char* right, const char* last) {
    return db.AddTask({.hostname = host, .left = left, .right = right, .leftopt = "NEAR",
                       .rightopt = "NEAR", .descr = "Documents", .lastexe = last});
  };
  const std::int64_t home = peer("HOME-PC", "\\Documents", "C:\\Users\\ana\\Documents", "20240311180102");
  const std::int64_t office = peer("OFFICE", "\\documents\\", "/srv/ana/docs", "20240308091500");
  peer("LAPTOP", "/Documents", "/home/ana/Docs", "00000000000000");
  for (const char* name : {"Letters\\Bank 2024.odt", "Budget.ods", "Plan.odt"}) {
    db.AddFile({.hostname = "HOME-PC", .task = home, .file = name, .size = "1200", .last = "20240311174233"});
  }
  db.AddFile({.hostname = "OFFICE", .task = office, .file = "Letters\\Bank 2024.odt", .size = "998"});
  db.AddFile({.hostname = "OFFICE", .task = office, .file = "Plan.odt", .size = "1200", .last = "20240311174233"});
  db.AddFile({.hostname = "OFFICE", .task = office, .file = "Old Plan.odt"});
  ASSERT_EQ(session->Tareas.Carga(session->conexion, "PC1"), "");

  const ImageList images = MakeStateImages();
  PeersDialog dialog(*session, view, images);
  dialog.Carga(1);
  // The counts are the engine's (PeersTest); here, that the rows and the waiting list show.
  EXPECT_EQ(Find<QTreeWidget>(dialog, "lstPeers")->topLevelItemCount(), 3);
  dialog.ShowWaiting(2);
  EXPECT_EQ(Find<QTreeView>(dialog, "lstWaiting")->model()->rowCount(), 3);
  Shoot(dialog, "other-computers");
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogScreenshots, ::testing::Values("EN", "ES"));

}  // namespace
}  // namespace tandrel
