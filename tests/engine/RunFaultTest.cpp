// The run when the machine misbehaves: a full disk, a stick pulled out before the run.
// Whatever happens, every file is its old or its new version, nothing the user still has is
// deleted, and the next analysis and run finish the work. (The run killed at each of its file
// calls: FaultsCrashLoopTest; a step of a copy that fails: FaultsCopyTest.)
#include <cerrno>

#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

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
