// The run killed at every one of its file calls in turn, on a small task that holds every kind of
// entry, with a stick that keeps times as they are and with one that keeps even seconds only (a
// copy onto it re-times its source): after each kill every file is its version before the run or
// the one it was to get, the database is sound, and a new analysis and run finish the work and
// leave the two sides in step.
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

class CrashLoopTest : public RunTest, public ::testing::WithParamInterface<bool> {
 protected:
  // The database and both sides on file systems in memory where the machine allows it: a hundred
  // runs that each commit with synchronous writes would otherwise wait seconds for a busy disk
  // (durability has its own test).
  void SetUp() override {
    RunTest::SetUp();
    CloseSession();
    const std::string saved = ReadAll(db.Path());
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
  // The task's two folders and snapshot as before the run; what each side holds before and after.
  void Build(std::int64_t id) {
    std::filesystem::remove_all(UsbPath(""));
    for (const auto& entry : std::filesystem::directory_iterator(pair.Pc())) {
      std::filesystem::remove_all(entry.path());  // the folder itself may be a mount point
    }
    db.Exec("DELETE FROM FILES");
    oldUsb = oldPc = newUsb = newPc = {};
    const auto put = [&](Side side, const std::string& name, const std::string& text, std::int64_t t) {
      Put(side, name, text, t);
      (side == Side::Usb ? oldUsb : oldPc)[name] = text;
    };
    const auto both = [&](const std::string& name, const std::string& text) {
      newUsb[name] = newPc[name] = text;
    };
    put(Side::Usb, "New.txt", "new on the stick", kMonday);  // "C1"
    both("New.txt", "new on the stick");
    put(Side::Usb, "Blocked.txt", "cannot be read", kMonday);  // "C1" that fails in the killed run
    both("Blocked.txt", "cannot be read");
    put(Side::Pc, "Sub/Back.txt", "new on the pc", kMonday + 1);  // "C2" into a folder to be made
    both("Sub/Back.txt", "new on the pc");
    put(Side::Usb, "Up.txt", "stick v2", kTuesday);  // "A2"
    put(Side::Pc, "Up.txt", "v1", kMonday);
    Remember(id, "Up.txt", Side::Pc);
    both("Up.txt", "stick v2");
    put(Side::Usb, "Down.txt", "v1", kMonday);  // "A1"
    put(Side::Pc, "Down.txt", "pc v2", kTuesday + 1);
    Remember(id, "Down.txt", Side::Usb);
    both("Down.txt", "pc v2");
    put(Side::Usb, "Deleted1.txt", "x", kMonday);  // "X1"
    Remember(id, "Deleted1.txt", Side::Usb);
    put(Side::Pc, "Deleted2.txt", "x", kMonday);  // "X2"
    Remember(id, "Deleted2.txt", Side::Pc);
    put(Side::Usb, "Same.txt", "same", kMonday);  // "ZZ"
    put(Side::Pc, "Same.txt", "same", kMonday);
    Remember(id, "Same.txt", Side::Pc);
    both("Same.txt", "same");
    put(Side::Usb, "Both.txt", "stick's edit", kTuesday);  // "!2": both changed, left alone
    put(Side::Pc, "Both.txt", "pc's edit", kMonday);
    db.AddFile({.hostname = kHost, .task = id, .file = "Both.txt", .last = "20200101000000"});
    newUsb["Both.txt"] = "stick's edit";
    newPc["Both.txt"] = "pc's edit";
  }

  Names oldUsb, oldPc, newUsb, newPc;
};

const Names kPlan = {{"New.txt", "C1"},      {"Blocked.txt", "C1"},     {"Sub\\Back.txt", "C2"},
                     {"Up.txt", "A2"},       {"Down.txt", "A1"},        {"Deleted1.txt", "X1"},
                     {"Deleted2.txt", "X2"}, {"Same.txt", "ZZ"},     {"Both.txt", "!2"}};

TEST_P(CrashLoopTest, RunKilledAtEachFileCallLosesNothingAndTheNextRunFinishes) {
  const auto id = AddTask();
  // A killed process loses nothing the kernel holds; the flushes themselves have their own test,
  // and here they would only wait for the disk, a hundred times over.
  fs.SkipFlushes(true);
  bool finished = false;
  int points = 0;
  for (std::uint64_t n = 1; !finished && n < 1000; ++n) {
    SCOPED_TRACE("killed before file call " + std::to_string(n) + " of the run");
    Build(id);
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
      EXPECT_TRUE(code == "ZZ" || (kPlan.count(name) != 0 && kPlan.at(name) == code))
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

}  // namespace
}  // namespace tandrel::test
