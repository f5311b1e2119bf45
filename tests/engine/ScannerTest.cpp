// The scan of both folders: which files become entries, under which names, with which real paths;
// and the analysis pass as the window sees it.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Automaticas.h"
#include "engine/TempNames.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

class ScannerTest : public RunTest {
 protected:
  std::vector<std::string> Keys() {
    std::vector<std::string> keys;
    for (const auto& [name, code] : Codes()) keys.push_back(name);
    return keys;
  }
  // Every entry: name -> "USB path|PC path|code", the paths below the pair's base folder.
  tandrel::test::Names Entries() {
    tandrel::test::Names entries;
    const auto below = [&](const std::string& path) {
      return path.empty() ? "" : path.substr(pair.Usb().size() - 3);  // "usb/..." or "pc/..."
    };
    for (std::size_t i = 1; i <= session->Archivos.Count(); ++i) {
      const clsArchivo& a = session->Archivos.ITemID(i);
      entries[a.Nombre] = below(a.USB_Ruta) + "|" + below(a.PC_Ruta) + "|" + a.Action.str();
    }
    return entries;
  }
};

TEST_F(ScannerTest, OptionLettersDecideWhichSidesAndLevelsAreListed) {
  for (const char* name : {"both.txt", "Sub/onlyusb.txt", "Sub/shared.txt"}) {
    pair.AddFile(Side::Usb, Usb(name), 10, kOlder);
  }
  for (const char* name : {"both.txt", "Sub/onlypc.txt", "Sub/shared.txt"}) {
    pair.AddFile(Side::Pc, name, 10, kOlder);
  }
  int position = 0;
  for (const auto& [left, right, keys] : {
           std::tuple{"N", "", std::vector<std::string>{"Both.txt"}},
           // No "R" on the USB side: its subfolders are not listed, but the PC listing finds their
           // files there by name.
           {"N", "NR", {"Both.txt", "Sub\\Onlypc.txt", "Sub\\Shared.txt"}},
           {"NR", "N", {"Both.txt", "Sub\\Onlyusb.txt", "Sub\\Shared.txt"}}}) {
    SCOPED_TRACE(std::string(left) + " / " + right);
    AddTask(left, right);
    Analyse(++position);
    EXPECT_EQ(Keys(), keys);
  }
}

TEST_F(ScannerTest, MasksSeeTheTaskFolderAndProperCasedNames) {
  const std::int64_t id = AddTask("NR", "NR");
  pair.AddFile(Side::Usb, Usb("notes.tmp"), 1, kOlder);
  pair.AddFile(Side::Usb, Usb("song.MP3"), 1, kOlder);
  pair.AddFile(Side::Usb, Usb("Keep/k.txt"), 1, kOlder);
  pair.AddFile(Side::Pc, "Keep/k.txt", 1, kOlder);
  db.AddMask(0, ".tmp", 0);       // every task, anywhere: a plain substring
  db.AddMask(id, ".MP3", 0);      // names are proper-cased: never matches
  // "Keep" at the position it has in the USB path: the USB file is left out, the PC one, whose
  // path is shorter, is not, and so the PC listing enters it.
  db.AddMask(id, "Keep", static_cast<std::int64_t>((pair.Usb() + "/Data/").size()) + 1);

  Analyse();
  EXPECT_EQ(Keys(), (std::vector<std::string>{"Keep\\K.txt", "Song.mp3"}));
  EXPECT_EQ(Entry("Keep\\K.txt")->Estado + Code("Keep\\K.txt"), "ZZ");  // entered by the PC listing
}

// Names are proper-cased while the real paths are kept. Hidden and read-only files are listed like
// any other; links, special files and the run's temporary copies never are.
TEST_F(ScannerTest, FilesAreEnteredUnderProperCasedNamesWithTheirRealPaths) {
  AddTask("NR", "NR");
  pair.AddFile(Side::Usb, Usb("docs/my REPORT.TXT"), 5, kOlder);
  pair.AddFile(Side::Pc, "DOCS/My Report.txt", 5, kOlder);
  // A part spelt exactly the same wins over an earlier case variant.
  pair.AddFile(Side::Usb, Usb("Mixed/notes.txt"), 5, kOlder);
  pair.AddFile(Side::Pc, "Mixed/Notes.txt", 6, kNewer);
  pair.AddFile(Side::Pc, "Mixed/notes.txt", 5, kOlder);
  pair.AddFile(Side::Usb, Usb(".hidden"), 4, kOlder);
  pair.AddFile(Side::Usb, Usb("locked.txt"), 4, kOlder);
  pair.SetMode(Side::Usb, Usb("locked.txt"), 0444);
  pair.AddFile(Side::Usb, Usb("folder.txt"), 4, kOlder);
  pair.AddFile(Side::Pc, "Folder.txt/inside.txt", 4, kOlder);  // a folder where USB has a file
  pair.AddLink(Side::Usb, Usb("loop"), ".");
  pair.AddLink(Side::Usb, Usb("alias.txt"), "locked.txt");
  pair.AddFile(Side::Pc, TempCopyName(0x0123abcdu), 9, kOlder);
  pair.AddFile(Side::Usb, Usb(TempCopyName(0xffffffffu)), 9, kOlder);

  Analyse();
  EXPECT_EQ(Entries(),
            (tandrel::test::Names{
                {".hidden", "usb/Data/.hidden||C1"},
                {"Docs\\My Report.txt", "usb/Data/docs/my REPORT.TXT|pc/DOCS/My Report.txt|ZZ"},
                // A file against a newer folder; and nothing is planned below a non-folder.
                {"Folder.txt", "usb/Data/folder.txt|pc/Folder.txt|!3"},
                {"Folder.txt\\Inside.txt", "|pc/Folder.txt/inside.txt|ZZ"},
                {"Locked.txt", "usb/Data/locked.txt||C1"},
                {"Mixed\\Notes.txt", "usb/Data/Mixed/notes.txt|pc/Mixed/notes.txt|ZZ"}}));
  EXPECT_EQ(Entry("docs\\my report.txt"), Entry("Docs\\My Report.txt"));  // found whatever the case
  // The PC file the entry did not take is a case clash: named in the log, never entered.
  EXPECT_TRUE(view.LogHas("logLeftOut " + pair.Path(Side::Pc, "Mixed/Notes.txt")));
}

TEST_F(ScannerTest, DriveRootFoldersLoseNoCharacterOfTheNames) {
  // The task's USB folder is the stick itself ("\" as Left); its PC folder is a drive of its own.
  session->mounts = MountTable{{"/", pair.Usb(), pair.Pc()}};
  AddTask("NR", "NR", "", "\\");
  pair.AddFile(Side::Usb, "Sub/File.txt", 3, kOlder);
  pair.AddFile(Side::Pc, "Sub/File.txt", 3, kOlder);
  pair.AddFile(Side::Pc, "Top.txt", 3, kOlder);

  Analyse();
  EXPECT_EQ(Entries(),
            (tandrel::test::Names{{"Sub\\File.txt", "usb/Sub/File.txt|pc/Sub/File.txt|ZZ"},
                                  {"Top.txt", "|pc/Top.txt|C2"}}));
  ASSERT_NE(view.Row("Top.txt"), nullptr);
  EXPECT_EQ(view.Row("Top.txt")->arrow, pair.Usb() + " <----- " + pair.Pc());
}

// The analysis pass as the window sees it: log lines, counts, rows under the filter buttons, the
// single-row update after the file dialog, and the start-up pass over auto-start tasks.
using AnalisisTest = RunTest;

TEST_F(AnalisisTest, RowsAndCountsFollowTheMappingTheFilterButtonsAndTheUsersChoices) {
  // One entry of every kind but deletions of the USB side: the stick's and the PC's size and
  // time (size -1: no file), and the size a row of the older copy records ("": no row).
  const std::int64_t id = AddTask("NE", "NE");
  for (const auto& [name, usbSize, usbTime, pcSize, pcTime, known] :
       {std::tuple{"New.txt", 0, kOlder, -1, kOlder, ""},
        {"Fresh.txt", -1, kOlder, 21, kOlder, ""},
        {"Gone.txt", -1, kOlder, 22, kOlder, "22"},
        {"Same.txt", 23, kOlder, 23, kOlder, ""},
        {"Pcwins.txt", 24, kOlder, 2400, kNewer, "24"},
        {"Usbwins.txt", 2500, kNewer, 25, kOlder, "25"},
        {"Both.txt", 26, kNewer, 27, kOlder, ""},  // unknown, USB newer
        {"Tie.txt", 28, kOlder, 29, kOlder, ""}}) {  // unknown, equal times
    if (usbSize >= 0) pair.AddFile(Side::Usb, Usb(name), usbSize, usbTime);
    if (pcSize >= 0) pair.AddFile(Side::Pc, name, pcSize, pcTime);
    if (*known != 0) AddSnapshot(id, name, known, "20200101100000");
  }
  Analyse();
  // Each row: icon, state, the arrow between the two mount points, the size shown.
  Names shown;
  for (const FileRow& row : view.fileRows) {
    shown[row.key] =
        row.icon + "|" + row.state + "|" + row.arrow.substr(pair.Usb().size()) + "|" + row.bytes;
  }
  EXPECT_EQ(shown, (Names{{"New.txt", "ADD|stN| -----> /|0 bytes"},
                          {"Same.txt", "OK|stE| |-//-| /|23 bytes"},
                          {"Pcwins.txt", "ACTU|stE| <<---> /|2400 bytes"},
                          // The PC size, as for every update.
                          {"Usbwins.txt", "ACTU|stE| <--->> /|25 bytes"},
                          {"Both.txt", "CONFLICT|stE| <-!!>> /|27 bytes"},
                          {"Tie.txt", "CONFLICT|stE| |-!!-| /|29 bytes"},
                          {"Fresh.txt", "ADD|stN| <----- /|21 bytes"},
                          {"Gone.txt", "DEL|stD| ---->X /|22 bytes"}}));

  // The file dialog's choice redraws one row. The arrow keeps the PC drive it was drawn with,
  // whatever the task says now, and the conflict count follows.
  session->Tareas.ITem1(1).Right = "/nowhere/else";
  session->Archivos.Item("Both.txt").Action = "ZZ";  // a conflict settled as "no action"
  ActualizaEnlista(*session, view, "Both.txt", "USER");
  // The arrow's ends: the stick's mount point, and the root file system the PC folder lies on.
  EXPECT_EQ(view.Row("Both.txt")->arrow + view.Row("Both.txt")->icon, pair.Usb() + " |-//-| /USER");
  EXPECT_EQ(session->cuentas.conflictos, 1);

  // All three buttons released: only copies of new files and deletions, full counts all the same
  // (the settled conflict now among the files left as they are).
  session->INI.showOKS = session->INI.showFSYNC = session->INI.showCONFLICT = false;
  view.log.clear();
  ListaArchivos(*session, view);
  std::vector<std::string> keys;
  for (const FileRow& row : view.fileRows) keys.push_back(row.key);
  std::sort(keys.begin() + 1, keys.end());  // the PC listing's order is the file system's
  EXPECT_EQ(keys, (std::vector<std::string>{"New.txt", "Fresh.txt", "Gone.txt"}));
  for (const char* count : {"#1: 8 logFiles", "#1: 1 logFileconflict", "#1: 2 logFileCopy",
                            "#1: 2 logFileActu", "#1: 2 logFileChange"}) {
    EXPECT_TRUE(view.LogHas(count)) << count;
  }
  EXPECT_EQ(view.progressMax, 8);
}

TEST_F(AnalisisTest, AutoStartTasksAreAnalysedThenSynchronisedInListOrder) {
  AddTask("N", "N", "A");
  AddTask("N", "N", "RO");
  AddTask("N", "N", "AR", "\\Data", pair.Pc() + "/missing");
  AddSnapshot(3, "Known.txt", "1", "20200101100000");  // so the missing folder is an error
  pair.AddFolder(Side::Usb, "Data");
  std::vector<int> synchronised;
  EjecutaAutomaticas(*session, view, [&](int position) { synchronised.push_back(position); });

  EXPECT_EQ(synchronised, (std::vector<int>{1}));
  EXPECT_FALSE(view.LogHas("#2: panAnalyzing"));
  EXPECT_TRUE(view.LogHas("#3: ERROR= "));
}

}  // namespace
}  // namespace tandrel::test
