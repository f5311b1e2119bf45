// The run on real folders and a real database: each code's action, the snapshot it leaves, the
// round trip through a second analysis, and the checks that keep a user's file from being lost.
#include <sys/stat.h>

#include "core/Public.h"
#include "engine/FileTimes.h"
#include "engine/Sincronizacion.h"
#include "tests/engine/RunFixture.h"

namespace tandrel::test {
namespace {

std::string Text(std::int64_t seconds) { return FechaArchivo(FileTime{seconds, 0}).str(); }

TEST_F(RunTest, EachCodeCarriesOutItsActionAndLeavesItsRow) {
  const auto id = AddTask("NEAR", "NEAR");
  Put(Side::Usb, "New/Deep/Fresh.txt", "fresh", kMonday, 123456789);  // C1 into missing folders
  Put(Side::Usb, "docs/Keep.txt", "same", kMonday);                   // ZZ, folder spelt "docs"
  Put(Side::Pc, "Docs/Keep.txt", "same", kMonday);
  Remember(id, "Docs\\Keep.txt", Side::Pc, "Docs/Keep.txt");
  Put(Side::Pc, "Docs/Plan.txt", "plan from pc", kTuesday);           // C2 into "docs"
  Put(Side::Usb, "Report.txt", "usb v2", kTuesday);                   // A2
  Put(Side::Pc, "Report.txt", "old", kMonday);
  Remember(id, "Report.txt", Side::Pc, "Report.txt");
  Put(Side::Pc, "Sheet.txt", "pc v2!", kFriday);                      // A1
  Put(Side::Usb, "Sheet.txt", "old", kMonday);
  Remember(id, "Sheet.txt", Side::Usb, "Sheet.txt");
  Put(Side::Usb, "Gone-pc.txt", "bye", kMonday);                      // X1
  Remember(id, "Gone-pc.txt", Side::Usb, "Gone-pc.txt");
  Put(Side::Pc, "Gone-usb.txt", "bye", kMonday);                      // X2
  Remember(id, "Gone-usb.txt", Side::Pc, "Gone-usb.txt");
  Put(Side::Usb, "Both.txt", "usb side", kTuesday);                   // !2: changed on both
  Put(Side::Pc, "Both.txt", "pc", kMonday);
  db.AddFile({.hostname = kRunHost, .task = id, .file = "Both.txt", .size = "1", .last = Text(kFriday)});
  db.AddFile({.hostname = kRunHost, .task = id, .file = "Vanished.txt"});  // on neither side

  Analyse();
  ASSERT_EQ(Codes(), (std::map<std::string, std::string>{
                         {"New\\Deep\\Fresh.txt", "C1"}, {"Docs\\Keep.txt", "ZZ"},
                         {"Docs\\Plan.txt", "C2"}, {"Report.txt", "A2"}, {"Sheet.txt", "A1"},
                         {"Gone-pc.txt", "X1"}, {"Gone-usb.txt", "X2"}, {"Both.txt", "!2"}}));
  const std::size_t statusBefore = view.status.size();
  Run();

  EXPECT_EQ(ReadAll(PcPath("New/Deep/Fresh.txt")), "fresh");
  EXPECT_EQ(ModifiedTime(PcPath("New/Deep/Fresh.txt")), (FileTime{kMonday, 123456789}));
  EXPECT_EQ(ReadAll(UsbPath("docs/Plan.txt")), "plan from pc");
  EXPECT_FALSE(Exists(UsbPath("Docs"))) << "a second folder differing only in case";
  EXPECT_EQ(ReadAll(PcPath("Report.txt")), "usb v2");
  EXPECT_EQ(ReadAll(UsbPath("Sheet.txt")), "pc v2!");
  EXPECT_FALSE(Exists(UsbPath("Gone-pc.txt")));
  EXPECT_FALSE(Exists(PcPath("Gone-usb.txt")));
  EXPECT_EQ(ReadAll(UsbPath("Both.txt")), "usb side");
  EXPECT_EQ(ReadAll(PcPath("Both.txt")), "pc");
  EXPECT_TRUE(TemporaryFiles(pair.Usb()).empty());
  EXPECT_TRUE(TemporaryFiles(pair.Pc()).empty());

  // Rows: every entry with an action shows its result; "ZZ" keeps what the analysis showed.
  for (const char* name : {"New\\Deep\\Fresh.txt", "Docs\\Plan.txt", "Report.txt", "Sheet.txt",
                           "Gone-pc.txt", "Gone-usb.txt", "Both.txt"}) {
    ASSERT_NE(view.Row(name), nullptr) << name;
    EXPECT_EQ(view.Row(name)->icon, "OK") << name;
    EXPECT_EQ(view.Row(name)->state, "stE") << name;
    EXPECT_EQ(session->Archivos.Find(name)->Estado, "E") << name;
  }
  EXPECT_EQ(view.Row("Docs\\Keep.txt")->icon, "OK");
  EXPECT_EQ(session->Archivos.Find("Docs\\Keep.txt")->Estado, "E");
  // One status text per entry with an action, none for "ZZ".
  EXPECT_EQ(std::count(view.status.begin() + static_cast<long>(statusBefore), view.status.end(),
                       "panSyncReport.txt"), 1);
  EXPECT_EQ(std::count(view.status.begin() + static_cast<long>(statusBefore), view.status.end(),
                       "panSyncDocs\\Keep.txt"), 0);

  // Snapshot: the copied side's texts, no row for deletions, the conflict or a vanished name.
  const auto rows = Rows(id);
  EXPECT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows.at("New\\Deep\\Fresh.txt").size, "5");
  EXPECT_EQ(rows.at("New\\Deep\\Fresh.txt").last, Text(kMonday));
  EXPECT_EQ(rows.at("Docs\\Plan.txt").size, "12");
  EXPECT_EQ(rows.at("Docs\\Plan.txt").last, Text(kTuesday));
  EXPECT_EQ(rows.at("Report.txt").size, "6");  // USB side for "A2"
  EXPECT_EQ(rows.at("Sheet.txt").last, Text(kFriday));
  EXPECT_EQ(rows.at("Docs\\Keep.txt").last, Text(kMonday));
  EXPECT_EQ(rows.at("Report.txt").sync.size(), 14u);
  EXPECT_EQ(rows.count("Both.txt"), 0u);
  EXPECT_EQ(rows.count("Gone-pc.txt") + rows.count("Gone-usb.txt"), 0u);

  // The run's frame: commands held off while it ran, the sync command left disabled, the
  // analysis no longer on display, the conflict turning the task into the alert state.
  EXPECT_EQ(session->TareaAnalizada, -1);
  EXPECT_EQ(session->Fallos, 0);
  EXPECT_FALSE(view.syncEnabled);
  EXPECT_FALSE(view.working);
  EXPECT_TRUE(view.workingHistory.end()[-2]);
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(view.progressValue, view.progressMax);
  EXPECT_TRUE(view.LogHas("#" + std::to_string(id) + ": panSync"));
  EXPECT_EQ(view.LogTexts().back(), "#" + std::to_string(id) + ": panReady");
  EXPECT_EQ(view.status.back(), "panReady");
  EXPECT_EQ(view.taskRows[0].icon, "ALERT");
  EXPECT_EQ(view.taskRows[0].state, "tskALERT");
}

TEST_F(RunTest, CleanRunIsFoundInStepByTheNextAnalysis) {
  const auto id = AddTask("NEAR", "NEAR");
  Put(Side::Usb, "A/One.txt", "one", kMonday, 999999999);
  Put(Side::Usb, "Two.txt", std::string(300000, 't'), kTuesday, 1);
  Put(Side::Pc, "B/C/Three.txt", "three", kFriday, 500);
  const std::string before = db.Value("SELECT LASTEXE FROM TASKS WHERE ID = " + std::to_string(id));

  Sync();
  EXPECT_EQ(session->Fallos, 0);
  EXPECT_EQ(view.taskRows[0].icon, "OK");
  EXPECT_EQ(view.taskRows[0].state, "tskDone");
  const std::string stamp = db.Value("SELECT LASTEXE FROM TASKS WHERE ID = " + std::to_string(id));
  EXPECT_NE(stamp, before);
  EXPECT_EQ(stamp.size(), 14u);
  EXPECT_EQ(view.taskRows[0].lastSync, FormateaFecha(stamp));
  for (const char* name : {"A/One.txt", "Two.txt"}) {
    EXPECT_EQ(ModifiedTime(PcPath(name)), ModifiedTime(UsbPath(name))) << name;
  }
  EXPECT_EQ(ModifiedTime(UsbPath("B/C/Three.txt")), (FileTime{kFriday, 500}));

  Analyse();
  EXPECT_EQ(Codes(), (std::map<std::string, std::string>{
                         {"A\\One.txt", "ZZ"}, {"Two.txt", "ZZ"}, {"B\\C\\Three.txt", "ZZ"}}));
  Run();
  EXPECT_EQ(RowCount(id), 3);
}

TEST_F(RunTest, AlternatingChangesOnBothSidesConverge) {
  AddTask("NEAR", "NEAR");
  Put(Side::Usb, "Notes.txt", "n1", kMonday);
  Put(Side::Usb, "Old/Draft.txt", "d1", kMonday);
  Put(Side::Pc, "List.txt", "l1", kMonday);
  const std::string usbRoot = UsbPath("");
  std::int64_t clock = kTuesday;
  auto changeBothSides = [&](int round) {
    clock += 3600;
    const std::string tag = std::to_string(round);
    if (round == 1) {
      Put(Side::Pc, "Notes.txt", "notes edited on the pc", clock);
      std::remove(UsbPath("Old/Draft.txt").c_str());
      Put(Side::Usb, "New/Idea.txt", "idea", clock);
    } else if (round == 2) {
      Put(Side::Usb, "List.txt", "list edited on the stick", clock);
      std::remove(PcPath("Notes.txt").c_str());
      Put(Side::Pc, "New/More.txt", "more", clock);
    } else {
      Put(Side::Pc, "New/Idea.txt", "idea, longer now", clock);
      Put(Side::Usb, "Fresh " + tag + ".txt", tag, clock);
    }
  };
  for (int round = 0; round < 4; ++round) {
    if (round > 0) changeBothSides(round);
    Sync();
    EXPECT_EQ(session->Fallos, 0) << round;
    EXPECT_EQ(Tree(usbRoot), Tree(pair.Pc())) << "round " << round;
    Analyse();
    for (const auto& [name, code] : Codes()) EXPECT_EQ(code, "ZZ") << name << " round " << round;
  }
  EXPECT_EQ(Tree(pair.Pc()), (std::map<std::string, std::string>{
                                 {"List.txt", "list edited on the stick"},
                                 {"New/Idea.txt", "idea, longer now"},
                                 {"New/More.txt", "more"},
                                 {"Fresh 3.txt", "3"}}));
}

class ReadOnlyRunTest : public RunTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ReadOnlyRunTest, ReadOnlyFileIsReplacedOrDeletedOnlyWithTheTaskOption) {
  const bool ignoreReadOnly = GetParam();
  const auto id = AddTask("NEAR", "NEAR", ignoreReadOnly ? "R" : "");
  Put(Side::Usb, "Locked.txt", "new text", kTuesday);  // A2 over a read-only PC file
  Put(Side::Pc, "Locked.txt", "old", kMonday);
  Remember(id, "Locked.txt", Side::Pc, "Locked.txt");
  Put(Side::Pc, "Kept.txt", "keep", kMonday);  // X2 of a read-only PC file
  Remember(id, "Kept.txt", Side::Pc, "Kept.txt");
  Put(Side::Usb, "Free.txt", "free", kMonday);  // C1, always fine
  ::chmod(PcPath("Locked.txt").c_str(), 0444);
  ::chmod(PcPath("Kept.txt").c_str(), 0444);

  Sync();
  EXPECT_EQ(ReadAll(PcPath("Free.txt")), "free");
  if (ignoreReadOnly) {
    EXPECT_EQ(ReadAll(PcPath("Locked.txt")), "new text");
    EXPECT_FALSE(Exists(PcPath("Kept.txt")));
    EXPECT_EQ(session->Fallos, 0);
    EXPECT_EQ(view.taskRows[0].icon, "OK");
    EXPECT_EQ(Rows(id).count("Locked.txt"), 1u);
  } else {
    EXPECT_EQ(ReadAll(PcPath("Locked.txt")), "old");
    EXPECT_TRUE(Exists(PcPath("Kept.txt")));
    EXPECT_EQ(session->Fallos, 2);
    EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("Locked.txt")));
    EXPECT_TRUE(view.LogHas(PcPath("Kept.txt")));
    for (const char* name : {"Locked.txt", "Kept.txt"}) {
      EXPECT_EQ(view.Row(name)->icon, "KO");
      EXPECT_EQ(view.Row(name)->state, "stR");
      EXPECT_EQ(session->Archivos.Find(name)->Estado, "R");
    }
    EXPECT_EQ(view.taskRows[0].icon, "ALERT");
    EXPECT_EQ(view.taskRows[0].state, "tskALERT");
    // Failed entries get no row: the next analysis finds them as never synchronised.
    EXPECT_EQ(Rows(id).size(), 1u);
    Analyse();
    EXPECT_EQ(Code("Locked.txt"), "!2");
    EXPECT_EQ(Code("Kept.txt"), "C2");
  }
  EXPECT_TRUE(TemporaryFiles(pair.Pc()).empty());
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutR, ReadOnlyRunTest, ::testing::Bool());

TEST_F(RunTest, FileChangedAfterTheAnalysisIsLeftAlone) {
  const auto id = AddTask("NEAR", "NEAR");
  Put(Side::Usb, "Edited.txt", "usb v2", kTuesday);  // A2, the PC copy edited meanwhile
  Put(Side::Pc, "Edited.txt", "old", kMonday);
  Remember(id, "Edited.txt", Side::Pc, "Edited.txt");
  Put(Side::Pc, "Doomed.txt", "bye", kMonday);  // X2, edited meanwhile
  Remember(id, "Doomed.txt", Side::Pc, "Doomed.txt");
  Put(Side::Pc, "Gone.txt", "bye", kMonday);  // X2, deleted meanwhile
  Remember(id, "Gone.txt", Side::Pc, "Gone.txt");
  Put(Side::Usb, "Sheet.txt", "old", kMonday);  // A1, the USB copy replaced by a link
  Remember(id, "Sheet.txt", Side::Usb, "Sheet.txt");
  Put(Side::Pc, "Sheet.txt", "pc v2", kTuesday);
  Put(Side::Usb, "Racing.txt", "from the stick", kMonday);  // C1, a PC file made meanwhile
  Put(Side::Usb, "Calm.txt", "calm", kMonday);              // C1, fine
  Analyse();

  Put(Side::Pc, "Edited.txt", "edited after the analysis", kFriday);
  Put(Side::Pc, "Doomed.txt", "rescued", kMonday + 1);
  std::remove(PcPath("Gone.txt").c_str());
  std::remove(UsbPath("Sheet.txt").c_str());
  pair.AddLink(Side::Usb, Usb("Sheet.txt"), "/etc/hostname");
  Put(Side::Pc, "racing.TXT", "typed on the pc", kFriday);
  Run();

  EXPECT_EQ(ReadAll(PcPath("Edited.txt")), "edited after the analysis");
  EXPECT_EQ(ReadAll(PcPath("Doomed.txt")), "rescued");
  EXPECT_EQ(ReadAll(PcPath("racing.TXT")), "typed on the pc");
  EXPECT_FALSE(Exists(PcPath("Racing.txt")));
  struct stat st {};
  EXPECT_EQ(::lstat(UsbPath("Sheet.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(ReadAll(PcPath("Calm.txt")), "calm");
  EXPECT_EQ(session->Fallos, 5);
  for (const char* name : {"Edited.txt", "Doomed.txt", "Gone.txt", "Sheet.txt", "Racing.txt"}) {
    EXPECT_EQ(view.Row(name)->icon, "KO") << name;
  }
  EXPECT_TRUE(view.LogHas(PcPath("Edited.txt")));
  EXPECT_TRUE(view.LogHas(PcPath("Doomed.txt")));
  EXPECT_TRUE(view.LogHas(UsbPath("Sheet.txt")));
  EXPECT_TRUE(view.LogHas(PcPath("racing.TXT")));
  EXPECT_EQ(Rows(id).size(), 1u);  // only Calm.txt
}

TEST_F(RunTest, RunYieldsEveryHundredAndOneSuccessesAndAfterEachFailure) {
  const auto id = AddTask("NEAR", "NEAR");
  for (int i = 0; i < 205; ++i) Put(Side::Usb, "Many/F" + std::to_string(i) + ".txt", "x", kMonday);
  Put(Side::Usb, "Blocked.txt", "x", kMonday);
  Analyse();
  Put(Side::Pc, "Blocked.txt", "made on the pc meanwhile", kMonday);

  const int before = view.yields;
  Run();
  // One after the start lines, two for 205 successes, one for the failure.
  EXPECT_EQ(view.yields - before, 4);
  EXPECT_EQ(session->Fallos, 1);
  EXPECT_EQ(RowCount(id), 205);
  EXPECT_FALSE(session->rsFiles.InBatch());
}

TEST_F(RunTest, RunWithoutEntriesEndsCleanlyAndDropsRowsOfVanishedFiles) {
  const auto id = AddTask("NEAR", "NEAR");
  db.AddFile({.hostname = kRunHost, .task = id, .file = "Long\\Gone.txt"});
  db.AddFile({.hostname = "OTHERPC", .task = id, .file = "Theirs.txt"});
  Sync();
  EXPECT_EQ(view.progressMax, 1);
  EXPECT_EQ(view.progressValue, 1);
  EXPECT_EQ(view.taskRows[0].icon, "OK");
  EXPECT_EQ(RowCount(id), 1);  // the other computer's row stays
}

TEST_F(RunTest, LeftoverTemporaryFilesGoBeforeTheFirstCopyIntoTheirFolder) {
  AddTask("NEAR", "NEAR");
  Put(Side::Usb, "Sub/New.txt", "new", kMonday);
  Put(Side::Pc, "Sub/.tandrel-0123abcd.tmp", "cut", kMonday);
  Put(Side::Pc, "Sub/.tandrel-notes.tmp", "a user's file", kMonday);
  Put(Side::Pc, "Elsewhere/.tandrel-89abcdef.tmp", "cut", kMonday);
  Sync();
  EXPECT_EQ(ReadAll(PcPath("Sub/New.txt")), "new");
  EXPECT_FALSE(Exists(PcPath("Sub/.tandrel-0123abcd.tmp")));
  EXPECT_TRUE(Exists(PcPath("Sub/.tandrel-notes.tmp")));
  EXPECT_TRUE(Exists(PcPath("Elsewhere/.tandrel-89abcdef.tmp")));  // no copy went there
}

TEST_F(RunTest, RunNeedsTheAnalysisOfItsOwnTask) {
  AddTask("NEAR", "NEAR");
  AddTask("NEAR", "NEAR");
  Put(Side::Usb, "New.txt", "new", kMonday);
  Analyse(1);
  Run(2);  // not the analysed task
  EXPECT_FALSE(Exists(PcPath("New.txt")));
  Run(1);
  EXPECT_EQ(ReadAll(PcPath("New.txt")), "new");
  Put(Side::Usb, "Newer.txt", "new", kMonday);
  Run(1);  // a second run of one analysis does nothing
  EXPECT_FALSE(Exists(PcPath("Newer.txt")));
}

}  // namespace
}  // namespace tandrel::test
