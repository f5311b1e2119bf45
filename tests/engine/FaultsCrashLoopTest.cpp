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

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "engine/ActionMapping.h"
#include "engine/TempNames.h"
#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

struct PlannedFile {
  const char* name;
  const char* usb;  // content, or none
  std::int64_t usbTime;
  const char* pc;
  std::int64_t pcTime;
  char known;  // the snapshot's row: of the 'U'SB or 'P'C copy, 'O'lder than both, or none
  const char* code;
};

const PlannedFile kEveryAction[] = {
    {"New.txt", "new on the stick", kMonday, nullptr, 0, 0, "C1"},
    {"Blocked.txt", "cannot be read", kMonday, nullptr, 0, 0, "C1"},
    // Into a folder to be made, from an odd second.
    {"Sub/Back.txt", nullptr, 0, "new on the pc", kMonday + 1, 0, "C2"},
    {"Up.txt", "stick v2", kTuesday, "v1", kMonday, 'P', "A2"},
    {"Down.txt", "v1", kMonday, "pc v2", kTuesday + 1, 'U', "A1"},
    {"Deleted1.txt", "x", kMonday, nullptr, 0, 'U', "X1"},
    {"Deleted2.txt", nullptr, 0, "x", kMonday, 'P', "X2"},
    {"Same.txt", "same", kMonday, "same", kMonday, 'P', "ZZ"},
    {"Both.txt", "stick's edit", kTuesday, "pc's edit", kMonday, 'O', "!2"},  // left alone
    {"Mounted/Inner.txt", "other device", kMonday, nullptr, 0, 0, "C1"},
    {"Mounted/Outer.txt", nullptr, 0, "other device", kMonday, 0, "C2"},
};

// A task with one entry of every action, a copy that fails ("Blocked.txt") and a folder "Mounted"
// on each side; what each side holds before the run, what it is to hold once the plan is carried
// out, and the plan itself by key.
class EveryActionTest : public RunTest {
 protected:
  // Empties both task folders (not the folders themselves: either may be a mount point) and the
  // snapshot.
  void ClearSides() {
    for (const std::string& root : {UsbPath(""), pair.Pc()}) {
      for (const auto& entry : std::filesystem::directory_iterator(root)) {
        std::filesystem::remove_all(entry.path());
      }
    }
    db.Exec("DELETE FROM FILES");
  }
  void PlanEveryAction(std::int64_t id) {
    oldUsb = oldPc = newUsb = newPc = plan = {};
    for (const PlannedFile& f : kEveryAction) {
      if (f.usb) Put(Side::Usb, f.name, oldUsb[f.name] = f.usb, f.usbTime);
      if (f.pc) Put(Side::Pc, f.name, oldPc[f.name] = f.pc, f.pcTime);
      if (f.known == 'O') {
        db.AddFile({.hostname = kHost, .task = id, .file = f.name, .last = "20200101000000"});
      } else if (f.known != 0) {
        Remember(id, f.name, f.known == 'U' ? Side::Usb : Side::Pc);
      }
      const std::string code = f.code;
      if (code == "C1" || code == "A2") newUsb[f.name] = newPc[f.name] = f.usb;
      if (code == "C2" || code == "A1") newUsb[f.name] = newPc[f.name] = f.pc;
      if (code == "ZZ" || code == "!2") newUsb[f.name] = f.usb, newPc[f.name] = f.pc;
      std::string key = f.name;
      std::replace(key.begin(), key.end(), '/', '\\');
      plan[key] = code;
    }
  }
  // Blocked.txt cannot be opened, and since a failed entry yields and with no interval every
  // yield commits, the run commits batches mid-run.
  void BlockAndCommitOften() {
    fs.Arm({.op = FsOp::Open, .pathPart = "Blocked", .error = EACCES, .times = 3});
    settings.commitInterval = std::chrono::milliseconds(0);
  }
  Names oldUsb, oldPc, newUsb, newPc, plan;
};

// Every file of tree is its version in before or in after (a temporary copy is left out), and
// every file that is in both before and after is still there. side names the tree in messages.
void ExpectWhole(const Names& tree, const Names& before, const Names& after, const char* side) {
  for (const auto& [name, content] : tree) {
    if (IsTempCopyName(std::filesystem::path(name).filename().string())) continue;
    const auto was = before.find(name);
    const auto will = after.find(name);
    const bool whole = (was != before.end() && was->second == content) ||
                       (will != after.end() && will->second == content);
    EXPECT_TRUE(whole) << side << " " << name << " is cut (" << content.size() << " bytes)";
  }
  for (const auto& [name, content] : before) {
    EXPECT_TRUE(after.count(name) == 0 || tree.count(name) == 1) << side << " lost " << name;
  }
}

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
      BlockAndCommitOften();
      fs.Arm({.n = n, .exits = true});
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
      EXPECT_TRUE(code == "ZZ" || (plan.count(name) != 0 && plan.at(name) == code))
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
// mid-run, and with a second file system mounted below the PC folder. What the run leaves on the
// sides is the crash loop's to check.
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
    BlockAndCommitOften();
    CommitMarks marks(session->conexion.Db().Handle(), fs);
    fs.Record(true);
    Run();
    fs.Record(false);
    EXPECT_EQ(session->Fallos, 1);
    EXPECT_GE(marks.At().size(), 2u) << "a commit mid-run and one at the end";
    EXPECT_GT(ExpectFlushedBeforeEachCommit(fs.Journal(), marks.At()), 8);
    fs.ClearFaults();
  }
}

}  // namespace
}  // namespace tandrel::test
