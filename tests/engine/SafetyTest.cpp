// Nothing is lost: a side that cannot be read plans nothing, and a run may not follow.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/Platform.h"
#include "engine/FileTimes.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

// A side that cannot be read stops the pass before the scan: a stick that is not there must never
// look like a folder whose every file was deleted, and no run may follow. A new task's missing
// folder is only empty.
TEST_F(RunTest, UnreadableSideStopsTheAnalysisAndKeepsSyncDisabled) {
  struct Case {
    const char* what;
    std::string left, right;
    bool knownSnapshot;
    std::string seen;  // the box's title and text, whether a run may follow, and the entries
  };
  const std::string box = "Error reading drive: ";
  const std::string gone = ": No such file or directory|error";
  const Case cases[] = {
      {"missing USB folder", "\\Missing", pair.Pc(), true, box + pair.Usb() + "/Missing" + gone},
      // Written on a computer of another kind: names nothing here, not even for a new task.
      {"foreign folder text", "\\Data", "C:\\Docs", false, box + "C:/Docs" + gone},
      // Unreadable is not missing: not even a new task takes it for empty.
      {"unreadable PC folder", "\\Data", pair.Pc(), false,
       box + pair.Pc() + ": Input/output error|error"},
      // A disk not mounted leaves its mount point behind, empty and readable.
      {"empty PC folder", "\\Data", pair.AddFolder(Side::Pc, "Mount"), true,
       box + pair.Pc() + "/Mount: msgFolderEmpty|error"},
      {"new task's missing PC folder", "\\Data", pair.Pc() + "/Docs", false, "|sync|Plan.txt C1"},
  };
  pair.AddFile(Side::Usb, Usb("Plan.txt"), 5, kOlder);
  pair.AddFile(Side::Pc, "Plan.txt", 5, kOlder);
  int position = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::int64_t id = AddTask("NE", "NE", "", c.left, c.right);
    if (c.knownSnapshot) AddSnapshot(id, "Plan.txt", "5", "20200101100000");
    if (c.right == pair.Pc()) fs.FailListing(pair.Pc(), -EIO);
    view = RecordingView();
    view.EnableSync(true);  // left enabled by an earlier analysis: a failing one takes it back
    Analyse(++position);
    fs.ClearFaults();
    std::string seen;
    for (const auto& message : view.messages) seen += message.title + ": " + message.text;
    seen += std::string(view.syncEnabled ? "|sync" : "") + (session->driveError ? "|error" : "");
    for (const auto& [name, code] : Codes()) seen += "|" + name + " " + code;
    EXPECT_EQ(seen, c.seen);
  }
}

// Nothing below a folder that cannot be read, on either side, or that a link stands in for, is
// planned, and it keeps its snapshot rows: once the world is as before, no file the user has looks
// deleted, and a second run finds everything in step.
TEST_F(RunTest, HeldBackEntriesKeepTheirRowsAndNothingIsLostOnceTheWorldIsBack) {
  const auto id = AddTask();
  // The PC folder Sub cannot be read; the stick has a new file there.
  Put(Side::Usb, "Sub/new.txt", "only on the stick", kMonday);
  // The stick's folder Other cannot be read; the PC has a new file there.
  Put(Side::Pc, "Other/new.txt", "only on the pc", kMonday);
  // The PC's Photos went to another disk, a link left in its place.
  for (const std::string key : {"Sub\\Old.txt", "Other\\Old.txt", "Photos\\A.jpg"}) {
    Put(Side::Usb, NativePath(key), key, kMonday);
    Put(Side::Pc, NativePath(key), key, kMonday);
    Remember(id, key, Side::Pc);
  }
  const std::string moved = pair.Path(Side::Pc, "../Moved");
  std::filesystem::rename(PcPath("Photos"), moved);
  pair.AddLink(Side::Pc, "Photos", moved);
  fs.FailListing(PcPath("Sub"), -EACCES);
  fs.FailListing(UsbPath("Other"), -EACCES);
  // A row of a file gone from the unreadable folder's side and the other: it may still be there.
  db.AddFile({.hostname = kHost, .task = id, .file = "Sub\\Hidden.txt"});
  const auto rowsBefore = Rows(id);
  const auto usbBefore = Tree(pair.Usb());
  const auto pcBefore = Tree(pair.Pc());
  Sync();
  fs.ClearFaults();
  for (const auto& [name, code] : Codes()) EXPECT_EQ(code, "ZZ") << name;
  EXPECT_TRUE(view.LogHas("#1: logNotAFolder " + PcPath("Photos")));
  EXPECT_EQ(Rows(id), rowsBefore);
  EXPECT_EQ(Tree(pair.Usb()), usbBefore);
  EXPECT_EQ(Tree(pair.Pc()), pcBefore);

  std::filesystem::remove(PcPath("Photos"));
  std::filesystem::rename(moved, PcPath("Photos"));
  Analyse();
  EXPECT_EQ(Code("Sub\\New.txt") + Code("Other\\New.txt"), "C1C2");
  Run();
  Analyse();
  for (const auto& [name, code] : Codes()) EXPECT_EQ(code, "ZZ") << name;
  EXPECT_EQ(Tree(UsbPath("")), Tree(pair.Pc()));
}

// Names of one side that differ only in case are one name for the keys. A new file beside a known
// one is never taken for the known one changed (and older); folders are one folder, a file in
// either is found, and a name in both is a twin that nothing deletes. Twins are left out, never
// written over.
TEST_F(RunTest, CaseTwinsAreLeftOutAndKept) {
  const auto id = AddTask();
  // Spelt both ways round: whatever order a folder lists them in, in one the new file comes first.
  for (const auto& [known, fresh, key] : {std::tuple{"A/Report.txt", "A/REPORT.txt", "A\\Report.txt"},
                                          {"B/REPORT.txt", "B/Report.txt", "B\\Report.txt"}}) {
    Put(Side::Usb, known, "known", kTuesday);
    Put(Side::Pc, known, "known", kTuesday);
    Put(Side::Usb, fresh, "the user's new file", kMonday);
    db.AddFile({.hostname = kHost, .task = id, .file = key,
                .size = "5", .last = FechaArchivo(FileTime{kTuesday, 0}).str()});
  }
  for (const char* name : {"A.txt", "B.txt", "Twin.txt"}) {
    Put(Side::Usb, std::string("docs/") + name, name, kMonday);
    Put(Side::Pc, std::string(name[0] == 'B' ? "docs/" : "Docs/") + name, name, kMonday);
    Remember(id, std::string("docs\\") + name, Side::Usb);
  }
  Put(Side::Pc, "docs/Twin.txt", "the other twin", kMonday);
  Put(Side::Pc, "Docs/Gone.txt", "one", kMonday);
  Put(Side::Pc, "docs/Gone.txt", "two", kMonday);
  db.AddFile({.hostname = kHost, .task = id, .file = "Docs\\Gone.txt"});
  const auto usbBefore = Tree(pair.Usb());
  const auto pcBefore = Tree(pair.Pc());
  Sync();
  EXPECT_EQ(Codes(), (Names{{"A\\Report.txt", "ZZ"}, {"B\\Report.txt", "ZZ"}, {"Docs\\A.txt", "ZZ"},
                            {"Docs\\B.txt", "ZZ"}, {"Docs\\Twin.txt", "ZZ"},
                            {"Docs\\Gone.txt", "ZZ"}}));
  EXPECT_TRUE(view.LogHas("logLeftOut " + UsbPath("A/REPORT.txt")));
  EXPECT_TRUE(view.LogHas("logLeftOut " + PcPath("Docs/Twin.txt")));
  EXPECT_TRUE(view.LogHas("logLeftOut " + PcPath("docs/Gone.txt")) ||
              view.LogHas("logLeftOut " + PcPath("Docs/Gone.txt")));
  Sync();
  EXPECT_EQ(Tree(pair.Usb()), usbBefore);
  EXPECT_EQ(Tree(pair.Pc()), pcBefore);
}

}  // namespace
}  // namespace tandrel::test
