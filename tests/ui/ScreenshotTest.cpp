// The main window and the icons rendered offscreen: every column readable at the first start's
// size, every icon drawn. scripts/screenshots runs them again to save the README's pictures.
#include <gtest/gtest.h>

#include "tests/ui/QtApp.h"

#include <filesystem>
#include <vector>

#include <QDir>
#include <QStyle>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTreeView>

#include "tests/ui/WindowFixture.h"
#include "ui/ArrowDelegate.h"
#include "ui/Icons.h"
#include "ui/TaskList.h"

namespace tandrel {
namespace {

// Saved only for scripts/screenshots: the checks around each picture run in every test run.
template <typename Picture>
void SavePicture(const Picture& picture, const std::string& name) {
  const std::string folder = test::PictureFolder();
  if (folder.empty()) return;
  QDir().mkpath(QString::fromStdString(folder));
  EXPECT_TRUE(picture.save(QString::fromStdString(folder + "/" + name))) << name;
}

// The share of pixels the artwork covers: a blank or broken drawing covers next to none.
double CoveredShare(const QImage& image) {
  int covered = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) covered += image.pixelColor(x, y).alpha() > 0;
  return double(covered) / (image.width() * image.height());
}

class Screenshot : public test::WindowFixture {
 protected:
  Screenshot() {
    std::filesystem::copy_file(TANDREL_SOURCE_DIR "/Languages/EN.txt",
                               db.Folder() + "/Languages/EN.txt");
  }
  // The drive the rows' action texts begin with (the stick the pictures pretend to run from).
  ArrowDelegate* UseUsbDrive(const std::string& usb) {
    auto* arrows = static_cast<ArrowDelegate*>(
        Control<QTreeView>("lstEstado")->itemDelegateForColumn(2));
    arrows->SetUsbDrive(QString::fromStdString(usb));
    return arrows;
  }
};

TEST_F(Screenshot, MainWindowWithTasksAndAnAnalysis) {
  db.AddTask({.hostname = "TESTPC", .left = "/Documents", .right = "/home/ana/Documents",
              .descr = "Documents", .options = "", .lastexe = "20240307093005"});
  db.AddTask({.hostname = "TESTPC", .left = "/Photos", .right = "/home/ana/Pictures",
              .descr = "Photos", .options = ""});
  db.AddTask({.hostname = "TESTPC", .left = "/Work/Reports", .right = "/srv/reports",
              .descr = "Reports", .options = ""});
  WriteSettings("[General]\r\nLastEXE=20000101000000\r\n[DB]\r\nCompactDataBase=0\r\n");
  auto& w = Start();

  w.SetTaskRowResult(1, "OK", session->W("tskDone"), "07/03/2024 09:41:12");
  w.SetTaskRowResult(3, "ALERT", session->W("tskALERT"), "07/03/2024 09:42:50");
  const std::string usb = "/media/ana/STICK";
  UseUsbDrive(usb);
  const FileRow rows[] = {
      {"Letters\\Bank.odt", "ADD", session->W("stN"), usb + " -----> /", "18432 bytes"},
      {"Letters\\Landlord.odt", "ADD", session->W("stN"), usb + " <----- /", "9216 bytes"},
      {"Notes.txt", "ACTU", session->W("stE"), usb + " <<---> /", "2048 bytes"},
      {"Plan 2024.ods", "CONFLICT", session->W("stE"), usb + " <-!!>> /", "30720 bytes"},
      {"Old\\Draft.txt", "DEL", session->W("stD"), usb + " ---->X /", "512 bytes"},
      {"Budget.ods", "USER", session->W("stE"), usb + " -----> /", "14336 bytes"},
      {"Readme.txt", "OK", session->W("stE"), usb + " |-//-| /", "0 bytes"},
      {"Scan.pdf", "KO", session->W("stR"), usb + " -----> /", "734003 bytes"},
  };
  for (const FileRow& row : rows) w.AddFileRow(row);
  w.SetProgressMax(8);
  w.SetProgressValue(5);
  w.ShowStatus(session->W("panReady"));
  w.resize(TwipsToPixels(13500, w.logicalDpiX()), TwipsToPixels(8100, w.logicalDpiY()));
  Control<TaskList>("lstTareas")->setCurrentItem(Control<TaskList>("lstTareas")->topLevelItem(0));
  test::Pump();

  SavePicture(w.grab(), "main-window.png");
}

TEST_F(Screenshot, EveryColumnReadableAtTheFirstStartSizeWithALongMountPoint) {
  db.AddTask({.hostname = "TESTPC", .left = "/Documents", .right = "/home/ana-maria/Documents",
              .descr = "Documents", .options = "", .lastexe = "20240307093005"});
  std::filesystem::copy_file(TANDREL_SOURCE_DIR "/Languages/ES.txt",
                             db.Folder() + "/Languages/ES.txt");
  for (const std::string code : {"ES", "EN"}) {  // Spanish headers are the longer ones
    SCOPED_TRACE(code);
    WriteSettings("[General]\r\nLanguage=" + code +
                  "\r\nLastEXE=20000101000000\r\n[DB]\r\nCompactDataBase=0\r\n");
    auto& w = Start();  // the size of a first start: no geometry in the settings
    const std::string usb = "/run/media/ana-maria/MY BACKUP STICK 2024";
    ArrowDelegate* arrows = UseUsbDrive(usb);
    const std::pair<const char*, const char*> rows[] = {
        {"Letters\\Bank statement March.odt", " -----> "}, {"Notes.txt", " <<---> "},
        {"Plan 2024.ods", " <-!!>> "}, {"Old\\Draft.txt", " ---->X "}, {"Scan.pdf", " <----- "}};
    for (const auto& [name, arrow] : rows)
      w.AddFileRow({name, "ADD", session->W("stN"), usb + arrow + "/", "734003 bytes"});
    test::Pump();

    auto* files = Control<QTreeView>("lstEstado");
    for (QTreeView* list : {files, static_cast<QTreeView*>(Control<TaskList>("lstTareas"))}) {
      int total = 0;
      for (int c = 0; c < list->header()->count(); ++c) {
        EXPECT_GE(list->columnWidth(c), list->header()->sectionSizeHint(c)) << c;
        total += list->columnWidth(c);
      }
      EXPECT_LE(total, list->viewport()->width());  // nothing hides behind a sideways scrollbar
    }
    const QFontMetrics metrics = files->fontMetrics();
    const int margins = 2 * (files->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    EXPECT_GE(files->columnWidth(0), 16 * metrics.averageCharWidth());
    EXPECT_GE(files->columnWidth(3) - margins, metrics.horizontalAdvance("734003 bytes"));
    for (int row = 0; row < files->model()->rowCount(); ++row) {
      const QString text = files->model()->index(row, 2).data().toString();
      const QString shown = arrows->Shortened(text, metrics, files->columnWidth(2) - margins);
      EXPECT_TRUE(shown.contains(QString::fromLatin1(rows[row].second))) << shown.toStdString();
      EXPECT_TRUE(shown.startsWith(QChar(0x2026)));  // the long drive gave way, from the left
    }
    SavePicture(w.grab(), "file-list-first-start-" + code + ".png");
  }
}

TEST_F(Screenshot, EveryIconOnLightAndDarkBackgrounds) {
  const ImageList lists[] = {MakeStateImages(), MakeToolImages()};
  const std::vector<std::vector<const char*>> keys = {
      {"ADD", "DEL", "OK", "ACTU", "CONFLICT", "KO", "ALERT", "USER"},
      {"NEWT", "ANAL", "SYNC", "OPTIONS", "OKS", "FSYNC", "CONFLICT"}};
  // One row per list and background: each icon at 16, 24 and 48 px, then 16 px enlarged.
  QImage sheet(8 * 160, 4 * 56, QImage::Format_ARGB32);
  QPainter p(&sheet);
  for (int row = 0; row < 4; ++row) {
    p.fillRect(0, row * 56, sheet.width(), 56, row < 2 ? QColor(250, 250, 250) : QColor(40, 42, 46));
    for (std::size_t i = 0; i < keys[row % 2].size(); ++i) {
      const QIcon icon = lists[row % 2].Item(keys[row % 2][i]);
      int x = static_cast<int>(i) * 160 + 4;
      for (int size : {16, 24, 48}) {
        const QPixmap image = icon.pixmap(size, size);
        EXPECT_GT(CoveredShare(image.toImage()), 0.3) << keys[row % 2][i] << " at " << size;
        p.drawPixmap(x, row * 56 + 4, image);
        x += size + 4;
      }
      p.drawImage(QRect(x, row * 56 + 4, 48, 48), icon.pixmap(16, 16).toImage());
    }
  }
  p.end();
  SavePicture(sheet, "icons.png");
  EXPECT_GT(CoveredShare(lists[0].Item("KO").pixmap(16, QIcon::Disabled).toImage()), 0.3);
}

}  // namespace
}  // namespace tandrel
