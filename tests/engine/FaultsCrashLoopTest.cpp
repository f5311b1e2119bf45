// The run killed at every one of its file calls in turn, on a small task that holds every kind of
// entry, with a stick that keeps times as they are and with one that keeps even seconds only (a
// copy onto it re-times its source): after each kill every file is its version before the run or
// the one it was to get, the database is sound, and a new analysis and run finish the work and
// leave the two sides in step. And the order in which a run makes things durable: every file it
// puts in place, deletes or re-times is flushed, on the file system that holds it, before the next
// commit of the database (whose rows say the file is in step).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "engine/ActionMapping.h"
#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

class CrashLoopTest : public EveryActionTest, public ::testing::WithParamInterface<bool> {
 protected:
  // The database and both sides on file systems in memory where the machine allows it: a hundred
  // runs that each commit with synchronous writes would otherwise wait seconds for a busy disk
  // (durability has its own test).
  void SetUp() override {
    RunTest::SetUp();
    CloseSession();
    const std::string saved = ReadBytes(db.Path());
    for (const std::string& folder : {db.Folder() + "/data", pair.Usb(), pair.Pc()}) {
      memory.push_back(std::make_unique<TmpfsMount>(folder, "16m"));
    }
    std::ofstream(db.Path(), std::ios::binary) << saved;
    OpenSession();
    if (GetParam()) fs.RoundTimes(pair.Usb());
  }
  void TearDown() override {
    RunTest::TearDown();
    memory.clear();
  }
  std::vector<std::unique_ptr<TmpfsMount>> memory;
};

TEST_P(CrashLoopTest, RunKilledAtEachFileCallLosesNothingAndTheNextRunFinishes) {
  const auto id = AddTask();
  // A killed process loses nothing the kernel holds; the flushes themselves have their own test,
  // and here they would only wait for the disk, a hundred times over.
  fs.SkipFlushes(true);
  bool finished = false;
  int points = 0;
  for (std::uint64_t n = 1; !finished && n < 1000; ++n) {
    SCOPED_TRACE("killed before file call " + std::to_string(n) + " of the run");
    ClearSides();
    PlanEveryAction(id);
    CloseSession();  // no connection may cross the fork
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      OpenSession();
      Analyse();
      // A failed entry yields, and with no interval every yield commits: batches mid-run.
      for (int attempt = 1; attempt <= 3; ++attempt) fs.FailAt(attempt, EACCES, FsOp::Open, "Blocked");
      settings.commitInterval = std::chrono::milliseconds(0);
      fs.ExitAt(fs.Calls() + n);
      Run();
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    ASSERT_TRUE(WEXITSTATUS(status) == kKilledExitCode || WEXITSTATUS(status) == 0);
    finished = WEXITSTATUS(status) == 0;
    points += finished ? 0 : 1;

    ExpectWhole(Tree(UsbPath("")), oldUsb, newUsb, "stick");
    ExpectWhole(Tree(pair.Pc()), oldPc, newPc, "pc");
    EXPECT_EQ(IntegrityCheck(db.Path()), "ok");
    OpenSession();
    Analyse();
    // Nothing is planned that the interrupted run did not plan: a copy done is found in step, one
    // not done is planned again, and no kill makes a file look deleted or in conflict.
    for (const auto& [name, code] : Codes()) {
      EXPECT_TRUE(code == "ZZ" || (Plan().count(name) != 0 && Plan().at(name) == code))
          << name << " planned " << code;
    }
    Run();
    EXPECT_EQ(Tree(UsbPath("")), newUsb);
    EXPECT_EQ(Tree(pair.Pc()), newPc);
    Analyse();
    for (const auto& [name, code] : Codes()) {
      EXPECT_TRUE(code == "ZZ" || IsConflict(code)) << name << " still planned " << code;
    }
    if (HasFailure()) break;  // one broken point tells enough
  }
  EXPECT_TRUE(finished);
  EXPECT_GT(points, 60) << "fewer kill points than the run has file calls";
  std::cout << "[          ] " << points << " kill points\n";
}

INSTANTIATE_TEST_SUITE_P(Sticks, CrashLoopTest, ::testing::Bool(), [](const auto& param) {
  return std::string(param.param ? "TwoSecondTimes" : "ExactTimes");
});

// Read from the file calls recorded in order, with the commits of the run's connection marked
// among them: on a FAT stick (a copy onto it re-times its source) with a failure that commits
// mid-run, and with a second file system mounted below the PC folder.
TEST_F(EveryActionTest, EveryChangeIsFlushedBeforeTheCommitThatRecordsIt) {
  const auto id = AddTask();
  for (const bool mounted : {false, true}) {
    SCOPED_TRACE(mounted ? "a file system below the PC folder" : "a FAT stick");
    ClearSides();
    std::unique_ptr<TmpfsMount> below;
    if (mounted) {
      below = std::make_unique<TmpfsMount>(pair.AddFolder(Side::Pc, "Mounted"), "1m");
      if (!below->Mounted()) GTEST_SKIP() << below->Error();
      struct stat outer {}, inner {};
      ASSERT_EQ(::stat(pair.Pc().c_str(), &outer) + ::stat(PcPath("Mounted").c_str(), &inner), 0);
      ASSERT_NE(inner.st_dev, outer.st_dev);
    }
    fs.RoundTimes(mounted ? "" : pair.Usb());
    PlanEveryAction(id);
    Analyse();
    for (int attempt = 1; attempt <= 3; ++attempt) {
      fs.FailAt(attempt, EACCES, FsOp::Open, "Blocked");
    }
    settings.commitInterval = std::chrono::milliseconds(0);
    CommitMarks marks(session->conexion.Db().Handle(), fs);
    fs.Record(true);
    Run();
    fs.Record(false);
    EXPECT_EQ(session->Fallos, 1);
    EXPECT_GE(marks.At().size(), 2u) << "a commit mid-run and one at the end";
    EXPECT_GT(ExpectFlushedBeforeEachCommit(fs.Journal(), marks.At()), 8);
    Names pc = newPc;
    pc.erase("Blocked.txt");
    EXPECT_EQ(Tree(UsbPath("")), newUsb);
    EXPECT_EQ(Tree(pair.Pc()), pc);
    fs.ClearFaults();
  }
}

}  // namespace
}  // namespace tandrel::test
