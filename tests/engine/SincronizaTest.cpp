// The run on real folders and a real database: each code's action, the snapshot it leaves, the
// round trip through the next analysis, and the checks that keep a user's file from being lost.
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "core/Public.h"
#include "core/Text.h"
#include "engine/ActionMapping.h"
#include "engine/EntryActions.h"
#include "engine/FileTimes.h"
#include "engine/TempNames.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

std::string Text(std::int64_t seconds) { return FechaArchivo(FileTime{seconds, 0}).str(); }

// A new file takes its real names below its source root, or else its path's last parts.
TEST(RelativeRealPath, BelowTheRootOrTheLastPartsOfTheName) {
  for (const char* ruta : {"/r/Docs/a.txt", "/x/Docs/a.txt", "Docs/a.txt"}) {
    EXPECT_EQ(RelativeRealPath(ruta, "/r/", "DOCS\\A.txt"), "Docs/a.txt") << ruta;
  }
  EXPECT_EQ(RelativeRealPath("/a.txt", "/r/", "X\\A.txt"), "a.txt");
}

// With the task's "R", read-only files are replaced and deleted as any other (without it: below).
TEST_F(RunTest, EachCodeCarriesOutItsActionAndLeavesItsRow) {
  const auto id = AddTask("R");
  Put(Side::Usb, "New/Deep/Fresh.txt", "fresh", kMonday, 123456789);  // into missing folders
  Put(Side::Usb, "docs/Keep.txt", "same", kMonday);
  Put(Side::Pc, "Docs/Keep.txt", "same", kMonday);
  Remember(id, "Docs\\Keep.txt", Side::Pc);
  Put(Side::Pc, "Docs/Plan.txt", "plan", kTuesday);  // the stick spells the folder "docs"
  Put(Side::Usb, "Report.txt", "usb v2", kTuesday);
  Put(Side::Pc, "Report.txt", "old", kMonday);
  Remember(id, "Report.txt", Side::Pc);
  Put(Side::Pc, "Sheet.txt", "pc v2", kFriday);
  Put(Side::Usb, "Sheet.txt", "old", kMonday);
  Remember(id, "Sheet.txt", Side::Usb);
  Put(Side::Usb, "Gone-pc.txt", "bye", kMonday);
  Remember(id, "Gone-pc.txt", Side::Usb);
  Put(Side::Pc, "Gone-usb.txt", "bye", kMonday);
  Remember(id, "Gone-usb.txt", Side::Pc);
  Put(Side::Usb, "Both.txt", "usb", kTuesday);
  Put(Side::Pc, "Both.txt", "pc", kMonday);
  db.AddFile({.hostname = kHost, .task = id, .file = "Both.txt", .last = Text(kFriday)});
  db.AddFile({.hostname = kHost, .task = id, .file = "Vanished.txt"});
  Put(Side::Usb, "Locked.txt", "new text", kTuesday);
  Put(Side::Pc, "Locked.txt", "old", kMonday);
  Remember(id, "Locked.txt", Side::Pc);
  Put(Side::Pc, "Kept.txt", "keep", kMonday);
  Remember(id, "Kept.txt", Side::Pc);
  pair.SetMode(Side::Pc, "Locked.txt", 0444);
  pair.SetMode(Side::Pc, "Kept.txt", 0444);
  // Leftover temporary copies go before the first copy into their folder, and only then.
  Put(Side::Pc, ".tandrel-0123abcd.tmp", "cut", kMonday);
  Put(Side::Pc, "Elsewhere/.tandrel-89abcdef.tmp", "cut", kMonday);

  Analyse();
  ASSERT_EQ(Codes(), (Names{{"New\\Deep\\Fresh.txt", "C1"}, {"Docs\\Keep.txt", "ZZ"},
                            {"Docs\\Plan.txt", "C2"}, {"Report.txt", "A2"}, {"Sheet.txt", "A1"},
                            {"Gone-pc.txt", "X1"}, {"Gone-usb.txt", "X2"}, {"Both.txt", "!2"},
                            {"Locked.txt", "A2"}, {"Kept.txt", "X2"}}));
  Run();

  EXPECT_EQ(Tree(pair.Pc()), (Names{{"New/Deep/Fresh.txt", "fresh"}, {"Docs/Keep.txt", "same"},
                                    {"Docs/Plan.txt", "plan"}, {"Report.txt", "usb v2"},
                                    {"Sheet.txt", "pc v2"}, {"Both.txt", "pc"},
                                    {"Elsewhere/.tandrel-89abcdef.tmp", "cut"},
                                    {"Locked.txt", "new text"}}));
  EXPECT_EQ(Tree(UsbPath("")), (Names{{"New/Deep/Fresh.txt", "fresh"}, {"docs/Keep.txt", "same"},
                                      {"docs/Plan.txt", "plan"}, {"Report.txt", "usb v2"},
                                      {"Sheet.txt", "pc v2"}, {"Both.txt", "usb"},
                                      {"Locked.txt", "new text"}}));
  EXPECT_EQ(ModifiedTime(PcPath("New/Deep/Fresh.txt")), (FileTime{kMonday, 123456789}));
  EXPECT_FALSE(view.LogHas("** ERROR **"));  // missing folders cost an attempt, not a failure

  for (const auto& [name, code] : Codes()) {
    if (code != "ZZ") EXPECT_EQ(view.Row(name)->icon + view.Row(name)->state, "OKstE") << name;
  }

  // The copied side's texts (the copy carries its times); no row for deletions and conflicts.
  EXPECT_EQ(Rows(id), (Names{{"New\\Deep\\Fresh.txt", Text(kMonday)}, {"Docs\\Keep.txt", Text(kMonday)},
                             {"Docs\\Plan.txt", Text(kTuesday)}, {"Report.txt", Text(kTuesday)},
                             {"Sheet.txt", Text(kFriday)}, {"Locked.txt", Text(kTuesday)}}));
  EXPECT_EQ(db.Value("SELECT SIZE FROM FILES WHERE FILE = 'Report.txt'"), "6");

  EXPECT_TRUE(session->TareaAnalizada == -1 && !view.syncEnabled && !view.workingHistory.back());
  EXPECT_EQ(view.taskRows[0].icon + view.taskRows[0].state, "ALERTtskALERT");  // the conflict left
}

// On a stick that keeps times as they are, and on one that keeps even seconds only (FAT): a copy
// onto it cannot carry an odd second, and the two copies must still compare equal afterwards. A
// change on either side is then an update, never a conflict, run after run.
class ConvergeTest : public RunTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ConvergeTest, ChangesOnBothSidesConvergeRunAfterRun) {
  const auto id = AddTask();
  if (GetParam()) fs.RoundTimes(pair.Usb());
  Put(Side::Usb, "Notes.txt", "n1", kMonday, 999999999);
  Put(Side::Usb, "Old/Draft.txt", "d1", kMonday);
  Put(Side::Pc, "List.txt", "l1", kMonday, 7);
  std::int64_t clock = kTuesday + 1;
  const std::vector<std::function<void()>> rounds = {
      [] {},
      [&] {
        Put(Side::Pc, "Notes.txt", "notes edited on the pc", clock);
        std::filesystem::remove(UsbPath("Old/Draft.txt"));
        Put(Side::Usb, "New/Idea.txt", "idea", clock);
      },
      [&] {
        Put(Side::Usb, "List.txt", "list edited on the stick", clock);
        std::filesystem::remove(PcPath("Notes.txt"));
        Put(Side::Pc, "New/More.txt", "more", clock);
      },
      [&] { Put(Side::Pc, "New/Idea.txt", "idea, longer now", clock); }};
  for (std::size_t round = 0; round < rounds.size(); ++round) {
    clock += 3600;
    rounds[round]();
    Analyse();
    for (const auto& [name, code] : Codes()) {
      EXPECT_FALSE(IsConflict(code)) << name << " round " << round;
    }
    Run();
    EXPECT_EQ(session->Fallos, 0) << round;
    EXPECT_EQ(Tree(UsbPath("")), Tree(pair.Pc())) << round;
    FileInfo pc, usb;  // as the file system shows them
    EXPECT_EQ(fs.Stat(PcPath("List.txt"), pc) + fs.Stat(UsbPath("List.txt"), usb), 0);
    EXPECT_EQ(FechaArchivo(pc.modified), FechaArchivo(usb.modified)) << round;
    Analyse();
    for (const auto& [name, code] : Codes()) EXPECT_EQ(code, "ZZ") << name << " round " << round;
  }
  EXPECT_EQ(Tree(pair.Pc()), (Names{{"List.txt", "list edited on the stick"},
                                    {"New/Idea.txt", "idea, longer now"}, {"New/More.txt", "more"}}));
  EXPECT_EQ(view.taskRows[0].icon + view.taskRows[0].state, "OKtskDone");
  const std::string stamp = db.Value("SELECT LASTEXE FROM TASKS WHERE ID = " + std::to_string(id));
  EXPECT_NE(stamp, "00000000000000");
  EXPECT_EQ(view.taskRows[0].lastSync, FormateaFecha(stamp));
}

INSTANTIATE_TEST_SUITE_P(ExactAndTwoSecondTimes, ConvergeTest, ::testing::Bool());

TEST_F(RunTest, FileChangedAfterTheAnalysisIsLeftAlone) {
  const auto id = AddTask();
  Put(Side::Usb, "Edited.txt", "usb v2", kTuesday);  // "A2"
  Put(Side::Pc, "Edited.txt", "old", kMonday);
  Remember(id, "Edited.txt", Side::Pc);
  Put(Side::Pc, "Doomed.txt", "bye", kMonday);  // "X2"
  Remember(id, "Doomed.txt", Side::Pc);
  Put(Side::Pc, "Gone.txt", "bye", kMonday);  // "X2"
  Remember(id, "Gone.txt", Side::Pc);
  Put(Side::Usb, "Sheet.txt", "old", kMonday);  // "A1"
  Remember(id, "Sheet.txt", Side::Usb);
  Put(Side::Pc, "Sheet.txt", "pc v2", kTuesday);
  Put(Side::Usb, "Racing.txt", "from the stick", kMonday);  // "C1"
  Put(Side::Usb, "Calm.txt", "calm", kMonday);              // "C1"
  // Without the task's "R" a read-only file is neither replaced nor deleted.
  Put(Side::Usb, "Locked.txt", "new text", kTuesday);  // "A2"
  Put(Side::Pc, "Locked.txt", "old", kMonday);
  Remember(id, "Locked.txt", Side::Pc);
  Put(Side::Pc, "Kept.txt", "keep", kMonday);  // "X2"
  Remember(id, "Kept.txt", Side::Pc);
  pair.SetMode(Side::Pc, "Locked.txt", 0444);
  pair.SetMode(Side::Pc, "Kept.txt", 0444);
  Analyse();

  Put(Side::Pc, "Edited.txt", "edited meanwhile", kFriday);
  Put(Side::Pc, "Doomed.txt", "rescued", kMonday + 1);
  std::filesystem::remove(PcPath("Gone.txt"));
  std::filesystem::remove(UsbPath("Sheet.txt"));
  pair.AddLink(Side::Usb, "Data/Sheet.txt", "/etc/hostname");
  Put(Side::Pc, "racing.TXT", "typed on the pc", kFriday);
  Run();

  EXPECT_EQ(Tree(pair.Pc()), (Names{{"Edited.txt", "edited meanwhile"}, {"Doomed.txt", "rescued"},
                                    {"Sheet.txt", "pc v2"}, {"racing.TXT", "typed on the pc"},
                                    {"Calm.txt", "calm"}, {"Locked.txt", "old"},
                                    {"Kept.txt", "keep"}}));
  EXPECT_TRUE(std::filesystem::is_symlink(UsbPath("Sheet.txt")));
  EXPECT_EQ(session->Fallos, 7);
  for (const std::string& path :
       {PcPath("Edited.txt"), PcPath("Doomed.txt"), PcPath("Gone.txt"), UsbPath("Sheet.txt"),
        PcPath("racing.TXT"), UsbPath("Locked.txt")}) {
    EXPECT_TRUE(view.LogHas("** ERROR ** : " + path)) << path;
  }
  EXPECT_TRUE(view.LogHas(PcPath("Kept.txt")));
  for (const char* name : {"Locked.txt", "Kept.txt"}) {
    EXPECT_EQ(view.Row(name)->icon + view.Row(name)->state + Entry(name)->Estado.str(), "KOstRR");
  }
  EXPECT_EQ(view.taskRows[0].state, "tskALERT");
  // Failed entries get no row: the next analysis finds them as never synchronised.
  EXPECT_EQ(Rows(id), (Names{{"Calm.txt", Text(kMonday)}}));
  Analyse();
  EXPECT_EQ(Code("Locked.txt") + Code("Kept.txt"), "!2C2");
}

TEST_F(RunTest, RunYieldsEveryHundredAndOneSuccessesAndAfterEachFailure) {
  const auto id = AddTask();
  for (int i = 0; i < 205; ++i) Put(Side::Usb, "Many/F" + std::to_string(i) + ".txt", "x", kMonday);
  Put(Side::Usb, "Blocked.txt", "x", kMonday);
  Analyse();
  Put(Side::Pc, "Blocked.txt", "made on the pc meanwhile", kMonday);
  const int before = view.yields;
  Run();
  EXPECT_EQ(view.yields - before, 1 + 2 + 1);  // the start, 205 successes, one failure
  EXPECT_EQ(session->Fallos, 1);
  EXPECT_EQ(Rows(id).size(), 205u);
}

TEST_F(RunTest, RunWithoutEntriesEndsCleanlyAndDropsRowsOfVanishedFiles) {
  const auto id = AddTask();
  db.AddFile({.hostname = "OTHERPC", .task = id, .file = "Theirs.txt"});
  Sync();
  EXPECT_EQ(view.progressMax, 1);
  EXPECT_EQ(view.progressValue, 1);
  EXPECT_EQ(view.taskRows[0].icon, "OK");
  // A file gone from both sides (while others are still there) loses its row.
  db.AddFile({.hostname = kHost, .task = id, .file = "Long\\Gone.txt"});
  Put(Side::Usb, "Here.txt", "x", kMonday);
  Put(Side::Pc, "Here.txt", "x", kMonday);
  Sync();
  EXPECT_EQ(db.Value("SELECT group_concat(FILE) FROM FILES WHERE FILE <> 'Here.txt'"),
            "Theirs.txt");
}

TEST_F(RunTest, RunNeedsTheAnalysisOfItsOwnTaskAndOnlyOnce) {
  AddTask();
  AddTask();
  Put(Side::Usb, "New.txt", "new", kMonday);
  Analyse(1);
  Run(2);
  EXPECT_FALSE(std::filesystem::exists(PcPath("New.txt")));
  Run(1);
  EXPECT_EQ(ReadBytes(PcPath("New.txt")), "new");
  Put(Side::Usb, "Newer.txt", "new", kMonday);
  Run(1);
  EXPECT_FALSE(std::filesystem::exists(PcPath("Newer.txt")));
}

// Names that trip up code which pastes, splits, folds or shortens them: quotes and SQL wildcards,
// spaces, a newline, a backslash, 255 bytes, bytes that are not UTF-8, one accent written two
// ways, two names that differ only in case, two that only full case folding makes one. Each file
// is copied under its own name (or left out with a log line), and the scan, the snapshot and the
// next analysis agree on its key.
TEST_F(RunTest, AwkwardNamesSyncUnderTheirOwnNameAndKeepOneKey) {
  const auto id = AddTask();
  const std::string longName = "L" + std::string(250, 'o') + ".txt";  // 255 bytes, the limit
  const std::vector<std::string> names = {
      "it's.txt",        "100%.txt",          "a_b.txt",         "two  spaces .txt",
      "line\nbreak.txt", "straße.txt",        longName,          "bad\xff\xfe.txt",
      "caf\xc3\xa9.txt" /* é as one code point */, "cafe\xcc\x81.txt" /* e and an accent */,
      "strasse.txt",     "ﬁle.txt",           "file.txt" /* only full case folding makes these one */};
  for (const auto& name : names) Put(Side::Usb, "In/" + name, "content of " + name, kMonday);
  Put(Side::Usb, "In/Readme.txt", "one", kMonday);
  Put(Side::Usb, "In/README.TXT", "the other", kMonday);
  // A "\" cannot be part of a relative name: this one would share the key of the PC's b/b.txt.
  Put(Side::Usb, "In/b\\b.txt", "the stick's", kMonday);
  Put(Side::Pc, "In/b/b.txt", "the pc's", kMonday);
  Analyse();

  Names expected;  // key -> code
  for (const auto& name : names) expected["In\\" + ProperCase(name)] = "C1";
  expected["In\\Readme.txt"] = "C1";
  expected["In\\B\\B.txt"] = "C2";
  ASSERT_EQ(Codes(), expected);
  EXPECT_TRUE(view.LogHas("logLeftOut " + UsbPath("In/")));
  EXPECT_TRUE(view.LogHas("logBackslash " + UsbPath("In/b\\b.txt")));
  fs.Record(true);
  Run();
  fs.Record(false);
  EXPECT_EQ(session->Fallos, 0);

  for (const auto& name : names) {
    EXPECT_EQ(ReadBytes(PcPath("In/" + name)), "content of " + name) << name;
  }
  // Of the two case variants one went across; the other stays on the stick, untouched.
  const Names pcIn = Tree(PcPath("In"));
  EXPECT_EQ(pcIn.count("Readme.txt") + pcIn.count("README.TXT"), 1u);
  EXPECT_EQ(ReadBytes(UsbPath("In/Readme.txt")), "one");
  EXPECT_EQ(ReadBytes(UsbPath("In/README.TXT")), "the other");

  Names rows = Rows(id);
  for (auto& [key, last] : rows) last = expected.count(key) ? expected[key] : "?";
  EXPECT_EQ(rows, expected) << "the snapshot keys are the scan's";
  for (const auto& call : fs.Journal()) {
    if (call.op != FsOp::Open || call.path.find("/.tandrel-") == std::string::npos) continue;
    EXPECT_TRUE(IsTempCopyName(call.path.substr(call.path.rfind('/') + 1))) << call.path;
  }

  Sync();
  for (const auto& [key, code] : Codes()) EXPECT_EQ(code, "ZZ") << key;
  EXPECT_EQ(ReadBytes(UsbPath("In/README.TXT")), "the other") << "a left-out file is never deleted";
  EXPECT_EQ(ReadBytes(UsbPath("In/b\\b.txt")), "the stick's");
  EXPECT_EQ(ReadBytes(UsbPath("In/b/b.txt")), "the pc's");
  EXPECT_EQ(Tree(UsbPath("In")).size(), names.size() + 4);
}

}  // namespace
}  // namespace tandrel::test
