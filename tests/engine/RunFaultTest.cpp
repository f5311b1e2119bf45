// The run when the machine misbehaves: a copy step that fails, a full disk, a flush that fails,
// and the process killed at any point. Whatever happens, every file is its old or its new
// version, nothing the user still has is deleted, and the next analysis and run finish the work.
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "engine/TempNames.h"
#include "tests/engine/RunFixture.h"

namespace tandrel::test {
namespace {

using Names = std::map<std::string, std::string>;

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
    if (::mount("tmpfs", pair.Pc().c_str(), "tmpfs", 0, "size=1m") != 0) {
      GTEST_SKIP() << "cannot mount a small tmpfs here: " << ErrorText(errno);
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) ::umount2(pair.Pc().c_str(), MNT_DETACH);
    RunTest::TearDown();
  }
  bool mounted_ = false;
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
  db.AddFile({.hostname = kRunHost, .task = id, .file = "Old.txt", .last = "kept"});
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

// Every file of tree is its version before or after the run, and none that the user has before
// and after the run is missing.
void ExpectWhole(const Names& tree, const Names& before, const Names& after, const char* side) {
  for (const auto& [name, content] : tree) {
    if (IsTempCopyName(std::filesystem::path(name).filename().string())) continue;
    const bool whole = (before.count(name) != 0 && before.at(name) == content) ||
                       (after.count(name) != 0 && after.at(name) == content);
    EXPECT_TRUE(whole) << side << " " << name << " is cut (" << content.size() << " bytes)";
  }
  for (const auto& [name, content] : before) {
    if (after.count(name) != 0) {
      EXPECT_EQ(tree.count(name), 1u) << side << " lost " << name;
    }
  }
}

TEST_F(RunTest, RunKilledAtAnyPointLosesNothingAndTheNextRunFinishes) {
  const auto id = AddTask();
  Names oldUsb, oldPc, newUsb, newPc;
  auto build = [&] {
    std::filesystem::remove_all(UsbPath(""));
    std::filesystem::remove_all(pair.Pc());
    db.Exec("DELETE FROM FILES");
    oldUsb = oldPc = newUsb = newPc = {};
    auto put = [&](Side side, const std::string& name, const std::string& text, std::int64_t t) {
      Put(side, name, text, t);
      (side == Side::Usb ? oldUsb : oldPc)[name] = text;
    };
    for (int i = 0; i < 105; ++i) {  // enough successes for a commit mid-run; one large file
      const std::string name = "In/F" + std::to_string(i) + ".txt";
      put(Side::Usb, name, i == 0 ? std::string(1536 << 10, 'L') : name, kMonday);
      newUsb[name] = newPc[name] = oldUsb[name];
    }
    put(Side::Pc, "Back.txt", "from the pc", kMonday);
    newUsb["Back.txt"] = newPc["Back.txt"] = "from the pc";
    for (const std::string side : {"Up", "Down"}) {  // "A2" and "A1"
      const std::string name = side + ".txt";
      put(Side::Usb, name, side == "Up" ? "stick v2" : "v1", side == "Up" ? kTuesday : kMonday);
      put(Side::Pc, name, side == "Up" ? "v1" : "pc v2", side == "Up" ? kMonday : kTuesday);
      Remember(id, name, side == "Up" ? Side::Pc : Side::Usb);
      newUsb[name] = newPc[name] = side == "Up" ? "stick v2" : "pc v2";
    }
    put(Side::Pc, "Drop.txt", "deleted on the stick", kMonday);  // "X2"
    Remember(id, "Drop.txt", Side::Pc);
  };

  // A whole run first, to learn its calls; then the process is stopped before each flush (a
  // commit follows it) and the call after it, and before some twenty-five calls spread over the
  // run. The stopped runs commit at every yield; the runs that check on them only at their end.
  fs.SkipFlushes(true);  // a stopped process loses nothing the kernel holds
  build();
  Analyse();
  fs.Record(true);
  Run();
  fs.Record(false);
  const auto journal = fs.Journal();
  ASSERT_EQ(Tree(pair.Pc()), newPc);
  std::set<std::size_t> points;
  for (std::size_t k = 1; k <= journal.size(); ++k) {
    if (journal[k - 1].op == FsOp::SyncFileSystem || k % (journal.size() / 25 + 1) == 0) {
      points.insert({k, k + 1});
    }
  }
  ASSERT_GT(points.size(), 25u);

  for (const std::size_t k : points) {
    SCOPED_TRACE("stopped before call " + std::to_string(k) + " of " + std::to_string(journal.size()));
    build();
    CloseSession();  // no connection may cross the fork
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      OpenSession();
      Analyse();
      fs.ExitAt(fs.Calls() + k);
      settings.commitInterval = std::chrono::milliseconds(0);
      Run();
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) &&
                (WEXITSTATUS(status) == kKilledExitCode || WEXITSTATUS(status) == 0));
    ExpectWhole(Tree(UsbPath("")), oldUsb, newUsb, "stick");
    ExpectWhole(Tree(pair.Pc()), oldPc, newPc, "pc");

    OpenSession();
    Analyse();
    for (const auto& [name, code] : Codes()) {
      if (code == "X1" || code == "X2") {
        EXPECT_EQ(name, "Drop.txt") << code;
      }
    }
    Run();
    EXPECT_EQ(Tree(UsbPath("")), newUsb);
    EXPECT_EQ(Tree(pair.Pc()), newPc);
    if (HasFailure()) break;  // one broken point tells enough
  }
}

}  // namespace
}  // namespace tandrel::test
