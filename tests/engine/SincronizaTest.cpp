// The run on real folders and a real database: each code's action, the snapshot it leaves, the
// round trip through the next analysis, and the checks that keep a user's file from being lost.
#include <filesystem>

#include "core/Public.h"
#include "core/Text.h"
#include "engine/FileTimes.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

std::string Text(std::int64_t seconds) { return FechaArchivo(FileTime{seconds, 0}).str(); }

// With the task's "R", read-only files are replaced and deleted as any other (without it: below).
TEST_F(RunTest, EachCodeCarriesOutItsActionAndLeavesItsRow) {
  const auto id = AddTask("R");
  Put(Side::Usb, "New/Deep/Fresh.txt", "fresh", kMonday);  // into missing folders
  Put(Side::Usb, "docs/Keep.txt", "same", kMonday);
  Put(Side::Pc, "Docs/Keep.txt", "same", kMonday);
  Remember(id, "Docs\\Keep.txt", Side::Pc);
  Put(Side::Pc, "Docs/Plan.txt", "plan", kTuesday);  // the stick spells the folder "docs"
  Put(Side::Pc, "Sheet.txt", "pc v2", kFriday);
  Put(Side::Usb, "Sheet.txt", "old", kMonday);
  Remember(id, "Sheet.txt", Side::Usb);
  Put(Side::Usb, "Gone-pc.txt", "bye", kMonday);
  Remember(id, "Gone-pc.txt", Side::Usb);
  Put(Side::Usb, "Both.txt", "usb", kTuesday);
  Put(Side::Pc, "Both.txt", "pc", kMonday);
  db.AddFile({.hostname = kHost, .task = id, .file = "Both.txt", .last = Text(kFriday)});
  Put(Side::Usb, "Locked.txt", "new text", kTuesday);
  Put(Side::Pc, "Locked.txt", "old", kMonday);
  Remember(id, "Locked.txt", Side::Pc);
  Put(Side::Pc, "Kept.txt", "keep", kMonday);
  Remember(id, "Kept.txt", Side::Pc);
  pair.SetMode(Side::Pc, "Locked.txt", 0444);
  pair.SetMode(Side::Pc, "Kept.txt", 0444);
  // A file gone from both sides loses its row.
  db.AddFile({.hostname = kHost, .task = id, .file = "Long\\Gone.txt"});
  // Leftover temporary copies go before the first copy into their folder, and only then.
  Put(Side::Pc, ".tandrel-0123abcd.tmp", "cut", kMonday);
  Put(Side::Pc, "Elsewhere/.tandrel-89abcdef.tmp", "cut", kMonday);

  Analyse();
  ASSERT_EQ(Codes(), (Names{{"New\\Deep\\Fresh.txt", "C1"}, {"Docs\\Keep.txt", "ZZ"},
                            {"Docs\\Plan.txt", "C2"}, {"Sheet.txt", "A1"}, {"Gone-pc.txt", "X1"},
                            {"Both.txt", "!2"}, {"Locked.txt", "A2"}, {"Kept.txt", "X2"}}));
  Run();

  EXPECT_EQ(Tree(pair.Pc()), (Names{{"New/Deep/Fresh.txt", "fresh"}, {"Docs/Keep.txt", "same"},
                                    {"Docs/Plan.txt", "plan"}, {"Sheet.txt", "pc v2"},
                                    {"Both.txt", "pc"}, {"Elsewhere/.tandrel-89abcdef.tmp", "cut"},
                                    {"Locked.txt", "new text"}}));
  EXPECT_EQ(Tree(UsbPath("")), (Names{{"New/Deep/Fresh.txt", "fresh"}, {"docs/Keep.txt", "same"},
                                      {"docs/Plan.txt", "plan"}, {"Sheet.txt", "pc v2"},
                                      {"Both.txt", "usb"}, {"Locked.txt", "new text"}}));
  EXPECT_FALSE(view.LogHas("** ERROR **"));  // missing folders cost an attempt, not a failure

  EXPECT_EQ(view.Row("Sheet.txt")->icon + view.Row("Sheet.txt")->state, "OKstE");

  // The copied side's texts (the copy carries its times); no row for deletions, conflicts and
  // files gone from both sides.
  EXPECT_EQ(Rows(id), (Names{{"New\\Deep\\Fresh.txt", Text(kMonday)}, {"Docs\\Keep.txt", Text(kMonday)},
                             {"Docs\\Plan.txt", Text(kTuesday)}, {"Sheet.txt", Text(kFriday)},
                             {"Locked.txt", Text(kTuesday)}}));
  EXPECT_EQ(db.Value("SELECT SIZE FROM FILES WHERE FILE = 'Locked.txt'"), "8");

  EXPECT_TRUE(session->TareaAnalizada == -1 && !view.syncEnabled && !view.working);
  EXPECT_EQ(view.taskRows[0].icon + view.taskRows[0].state, "ALERTtskALERT");  // the conflict left
}

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
  Run();

  EXPECT_EQ(Tree(pair.Pc()), (Names{{"Edited.txt", "edited meanwhile"}, {"Doomed.txt", "rescued"},
                                    {"Sheet.txt", "pc v2"}, {"Locked.txt", "old"},
                                    {"Kept.txt", "keep"}}));
  EXPECT_TRUE(std::filesystem::is_symlink(UsbPath("Sheet.txt")));
  EXPECT_EQ(session->Fallos, 6);
  for (const std::string& path : {PcPath("Edited.txt"), PcPath("Doomed.txt"), PcPath("Gone.txt"),
                                  UsbPath("Sheet.txt"), UsbPath("Locked.txt")}) {
    EXPECT_TRUE(view.LogHas("** ERROR ** : " + path)) << path;
  }
  EXPECT_TRUE(view.LogHas(PcPath("Kept.txt")));
  for (const char* name : {"Locked.txt", "Kept.txt"}) {
    EXPECT_EQ(view.Row(name)->icon + view.Row(name)->state + Entry(name)->Estado.str(), "KOstRR");
  }
  // Failed entries get no row: the next analysis finds them as never synchronised.
  EXPECT_TRUE(Rows(id).empty());
  Analyse();
  EXPECT_EQ(Code("Locked.txt") + Code("Kept.txt"), "!2C2");
}

// A run carries out the analysis of its own task, and only once. It yields every 101 successes
// and after each failure.
TEST_F(RunTest, RunNeedsTheAnalysisOfItsOwnTaskOnceAndYieldsAsItGoes) {
  const auto id = AddTask();
  AddTask();
  for (int i = 0; i < 205; ++i) Put(Side::Usb, "Many/F" + std::to_string(i) + ".txt", "x", kMonday);
  Put(Side::Usb, "Blocked.txt", "x", kMonday);
  Analyse(1);
  Run(2);
  EXPECT_EQ(Tree(pair.Pc()), Names{});
  Put(Side::Pc, "Blocked.txt", "made on the pc meanwhile", kMonday);
  const int before = view.yields;
  Run(1);
  EXPECT_EQ(view.yields - before, 1 + 2 + 1);  // the start, 205 successes, one failure
  EXPECT_EQ(session->Fallos, 1);
  EXPECT_EQ(Rows(id).size(), 205u);
  Put(Side::Usb, "Newer.txt", "new", kMonday);
  Run(1);
  EXPECT_FALSE(std::filesystem::exists(PcPath("Newer.txt")));
}

// Another computer's rows are no part of this one's snapshot: taken for it, they would make the
// empty sides of a new task look like a disk not mounted.
TEST_F(RunTest, RunWithoutEntriesEndsCleanlyAndKeepsOtherComputersRows) {
  const auto id = AddTask();
  db.AddFile({.hostname = "OTHERPC", .task = id, .file = "Theirs.txt"});
  Sync();
  EXPECT_NE(db.Value("SELECT LASTEXE FROM TASKS"), "00000000000000");
  EXPECT_EQ(db.Value("SELECT group_concat(FILE) FROM FILES"), "Theirs.txt");
}

// Names that trip up code which pastes, splits, folds or shortens them: a quote and SQL
// wildcards, a newline, 255 bytes, bytes that are not UTF-8, one accent written two ways, two
// names that only full case folding makes one. Each file is copied under its own name, and the
// scan, the snapshot and the next analysis agree on its key. A "\" cannot be part of a relative
// name: that file is left out with a log line, and kept.
TEST_F(RunTest, AwkwardNamesSyncUnderTheirOwnNameAndKeepOneKey) {
  const auto id = AddTask();
  const std::vector<std::string> names = {
      "it's 100%_a.txt", "line\nbreak.txt", "L" + std::string(250, 'o') + ".txt" /* 255 bytes */,
      "bad\xff\xfe.txt", "caf\xc3\xa9.txt", "cafe\xcc\x81.txt", "straße.txt", "strasse.txt",
      "ﬁle.txt", "file.txt"};
  for (const auto& name : names) Put(Side::Usb, "In/" + name, "content of " + name, kMonday);
  // It would share the key of the PC's b/b.txt.
  Put(Side::Usb, "In/b\\b.txt", "the stick's", kMonday);
  Put(Side::Pc, "In/b/b.txt", "the pc's", kMonday);
  Analyse();

  Names expected;  // key -> code
  for (const auto& name : names) expected["In\\" + ProperCase(name)] = "C1";
  expected["In\\B\\B.txt"] = "C2";
  ASSERT_EQ(Codes(), expected);
  EXPECT_TRUE(view.LogHas("logBackslash " + UsbPath("In/b\\b.txt")));
  Run();
  EXPECT_EQ(session->Fallos, 0);
  for (const auto& name : names) {
    EXPECT_EQ(ReadBytes(PcPath("In/" + name)), "content of " + name) << name;
  }
  Names rows = Rows(id);
  for (auto& [key, last] : rows) last = expected.count(key) ? expected[key] : "?";
  EXPECT_EQ(rows, expected) << "the snapshot keys are the scan's";

  Sync();
  for (const auto& [key, code] : Codes()) EXPECT_EQ(code, "ZZ") << key;
  EXPECT_EQ(ReadBytes(UsbPath("In/b\\b.txt")), "the stick's");
}

}  // namespace
}  // namespace tandrel::test
