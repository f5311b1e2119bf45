// The analysis pass as the window sees it: log lines, counts, rows under the filter buttons, the
// single-row update after the file dialog, and the start-up pass over auto-start tasks.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Automaticas.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

class AnalisisTest : public RunTest {
 protected:
  // One entry of every kind but deletions of the USB side: C1, C2, X2, ZZ, A1, A2, !2, !4.
  std::int64_t MakeEveryKind() {
    const std::int64_t id = AddTask("NE", "NE");
    pair.AddFile(Side::Usb, Usb("New.txt"), 0, kOlder);            // C1, 0 bytes
    pair.AddFile(Side::Pc, "Fresh.txt", 21, kOlder);               // C2
    pair.AddFile(Side::Pc, "Gone.txt", 22, kOlder);                // X2: known, USB copy deleted
    AddSnapshot(id, "Gone.txt", "22", "20200101100000");
    pair.AddFile(Side::Usb, Usb("Same.txt"), 23, kOlder);          // ZZ
    pair.AddFile(Side::Pc, "Same.txt", 23, kOlder);
    pair.AddFile(Side::Usb, Usb("Pcwins.txt"), 24, kOlder);        // A1
    pair.AddFile(Side::Pc, "Pcwins.txt", 2400, kNewer);
    AddSnapshot(id, "Pcwins.txt", "24", "20200101100000");
    pair.AddFile(Side::Usb, Usb("Usbwins.txt"), 2500, kNewer);     // A2
    pair.AddFile(Side::Pc, "Usbwins.txt", 25, kOlder);
    AddSnapshot(id, "Usbwins.txt", "25", "20200101100000");
    pair.AddFile(Side::Usb, Usb("Both.txt"), 26, kNewer);          // !2: unknown, USB newer
    pair.AddFile(Side::Pc, "Both.txt", 27, kOlder);
    pair.AddFile(Side::Usb, Usb("Tie.txt"), 28, kOlder);           // !4: unknown, equal times
    pair.AddFile(Side::Pc, "Tie.txt", 29, kOlder);
    return id;
  }
  // The arrow's ends: the stick's mount point, and the root file system the PC folder lies on.
  std::string Arrow(const char* arrow) { return pair.Usb() + arrow + "/"; }
};

TEST_F(AnalisisTest, RowsAndCountsFollowTheMappingTheFilterButtonsAndTheUsersChoices) {
  MakeEveryKind();
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

  // All three buttons released: only copies of new files and deletions, full counts all the same.
  session->INI.showOKS = false;
  session->INI.showFSYNC = false;
  session->INI.showCONFLICT = false;
  view.log.clear();
  ListaArchivos(*session, view);
  std::vector<std::string> keys;
  for (const FileRow& row : view.fileRows) keys.push_back(row.key);
  std::sort(keys.begin() + 1, keys.end());  // the PC listing's order is the file system's
  EXPECT_EQ(keys, (std::vector<std::string>{"New.txt", "Fresh.txt", "Gone.txt"}));
  EXPECT_EQ(view.LogTexts(), (std::vector<std::string>{
                                 "#1: panListing", "#1: 8 logFiles", "#1: 2 logFileconflict",
                                 "#1: 2 logFileCopy", "#1: 2 logFileActu", "#1: 1 logFileChange"}));
  EXPECT_EQ(view.progressMax, 8);

  // Only the conflict button: the conflicts come back, updates and unchanged files stay hidden.
  session->INI.showCONFLICT = true;
  ListaArchivos(*session, view);
  EXPECT_EQ(view.fileRows.size(), 5u);

  // The file dialog's choice redraws one row. The arrow keeps the PC drive it was drawn with,
  // whatever the task says now, and the conflict count stays true.
  session->Tareas.ITem1(1).Right = "/nowhere/else";
  session->Archivos.Item("Both.txt").Action = "ZZ";  // a conflict settled as "no action"
  ActualizaEnlista(*session, view, "Both.txt", "USER");
  EXPECT_EQ(view.Row("Both.txt")->arrow + view.Row("Both.txt")->icon, Arrow(" |-//-| ") + "USER");
  EXPECT_EQ(session->cuentas.conflictos, 1);
  // A row that was no conflict turned into one: the count goes up, it does not go down.
  session->Archivos.Item("Fresh.txt").Action = "!3";
  ActualizaEnlista(*session, view, "Fresh.txt", "");
  EXPECT_EQ(view.Row("Fresh.txt")->arrow + view.Row("Fresh.txt")->icon,
            Arrow(" <<!!-> ") + "CONFLICT");
  EXPECT_EQ(session->cuentas.conflictos, 2);
  // A non-conflict changed to another non-conflict, then a row the filter hides.
  session->Archivos.Item("New.txt").Action = "ZZ";
  ActualizaEnlista(*session, view, "New.txt", "USER");
  EXPECT_EQ(session->cuentas.conflictos, 2);
  session->Archivos.Item("Same.txt").Action = "!1";
  ActualizaEnlista(*session, view, "Same.txt", "USER");
  EXPECT_EQ(view.Row("Same.txt"), nullptr);
  EXPECT_EQ(session->cuentas.conflictos, 3);

  // After a run no analysis is on display: the list stays as the run left it.
  session->TareaAnalizada = -1;
  view.log.clear();
  ListaArchivos(*session, view);
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(view.fileRows.size(), 5u);
}

// The size shown is the PC copy's; a ZZ entry without one (PC deletions not carried) shows the
// stick's.
TEST_F(AnalisisTest, AZZEntryWithoutAPcCopyShowsItsUsbSize) {
  const std::int64_t id = AddTask("N", "N");
  pair.AddFile(Side::Usb, Usb("Kept.txt"), 77, kOlder);
  pair.AddFile(Side::Pc, "Other.txt", 1, kOlder);  // an empty PC folder would be a disk not mounted
  AddSnapshot(id, "Kept.txt", "77", "20200101100000");
  Analyse();
  EXPECT_EQ(Code("Kept.txt") + " " + view.Row("Kept.txt")->bytes, "ZZ 77 bytes");
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
  EXPECT_EQ(view.LogTexts().front() + view.LogTexts().back(), "logExecutelogExecuteF");
  EXPECT_FALSE(view.LogHas("#2: panAnalyzing"));
  EXPECT_TRUE(view.LogHas("#3: ERROR= "));
}

}  // namespace
}  // namespace tandrel::test
