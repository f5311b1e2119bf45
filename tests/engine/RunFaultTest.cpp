// The run when the machine misbehaves: a copy step that fails, a full disk, a flush that fails.
// Whatever happens, every file is its old or its new version, nothing the user still has is
// deleted, and the next analysis and run finish the work. (The run killed at each of its file
// calls: FaultsCrashLoopTest.)
#include <cerrno>

#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

TEST_F(RunTest, FailedCopyLeavesTheDestinationAsItWasAndNoTemporaryFile) {
  const auto id = AddTask();
  for (FsOp op : {FsOp::Write, FsOp::Fsync, FsOp::SetTimes, FsOp::ChangeMode, FsOp::Rename}) {
    SCOPED_TRACE(FsOpName(op));
    db.Exec("DELETE FROM FILES");
    Put(Side::Usb, "Report.txt", "the stick's newer copy", kTuesday);
    Put(Side::Pc, "Report.txt", "the pc's copy", kMonday);
    Remember(id, "Report.txt", Side::Pc);
    Analyse();
    ASSERT_EQ(Code("Report.txt"), "A2");
    for (int attempt = 1; attempt <= 3; ++attempt) fs.FailAt(attempt, EIO, op, ".tandrel-");
    Run();
    fs.ClearFaults();
    EXPECT_EQ(Tree(pair.Pc()), (Names{{"Report.txt", "the pc's copy"}}));
    EXPECT_EQ(ModifiedTime(PcPath("Report.txt")).sec, kMonday);
    EXPECT_EQ(session->Fallos, 1);
    EXPECT_EQ(view.Row("Report.txt")->icon, "KO");
    EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("Report.txt")));
    EXPECT_TRUE(Rows(id).empty());
  }
}

// The PC folder on a tmpfs of one mebibyte (tests run as root in CI; elsewhere this is skipped).
class FullDiskTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    if (!disk.Mounted()) GTEST_SKIP() << disk.Error();
  }
  TmpfsMount disk{pair.Pc(), "1m"};
};

TEST_F(FullDiskTest, CopiesThatDoNotFitFailAndLeaveNothingBehind) {
  const auto id = AddTask();
  Put(Side::Usb, "Big.bin", std::string(2 << 20, 'b'), kTuesday);
  Put(Side::Usb, "Doc.txt", std::string(1536 << 10, 'n'), kTuesday);  // "A2" that does not fit
  Put(Side::Pc, "Doc.txt", "small old version", kMonday);
  Remember(id, "Doc.txt", Side::Pc);
  Put(Side::Usb, "Small.txt", "fits", kMonday);
  Sync();
  EXPECT_EQ(session->Fallos, 2);
  EXPECT_EQ(Tree(pair.Pc()), (Names{{"Doc.txt", "small old version"}, {"Small.txt", "fits"}}));
  EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("Big.bin")));
}

TEST_F(RunTest, StickPulledOutBeforeTheRunLeavesTheSnapshotAsItWas) {
  const auto id = AddTask();
  Put(Side::Usb, "New.txt", "new", kMonday);
  Put(Side::Pc, "Back.txt", "back", kMonday);
  db.AddFile({.hostname = kHost, .task = id, .file = "Old.txt", .last = "kept"});
  Analyse();
  // Every call on the stick fails from now on, its flush before the commit included: no row may
  // then say anything is in step, and the old rows stay for the next analysis.
  fs.VanishAt(fs.Calls() + 1, pair.Usb());
  Run();
  fs.ClearFaults();
  EXPECT_EQ(session->Fallos, 2);
  EXPECT_EQ(Tree(pair.Pc()), (Names{{"Back.txt", "back"}}));
  EXPECT_EQ(Rows(id), (Names{{"Old.txt", "kept"}}));
  EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("")));
  Analyse();
  EXPECT_EQ(Codes(), (Names{{"New.txt", "C1"}, {"Back.txt", "C2"}}));
}

}  // namespace
}  // namespace tandrel::test
