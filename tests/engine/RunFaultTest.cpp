// The run when the machine misbehaves: a copy step that fails, a full disk, a stick pulled out, and
// the process killed at any point. Whatever happens, every file is its old or its new version,
// nothing the user still has is deleted, and the next analysis and run finish the work.
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "engine/FileTimes.h"
#include "tests/engine/RunFixture.h"

namespace tandrel::test {
namespace {

TEST_F(RunTest, FailedCopyLeavesTheDestinationAsItWasAndNoTemporaryFile) {
  const auto id = AddTask("NEAR", "NEAR");
  const std::string oldText = "the pc's copy";
  for (FsOp op : {FsOp::Write, FsOp::Fsync, FsOp::SetTimes, FsOp::ChangeMode, FsOp::Rename}) {
    SCOPED_TRACE(FsOpName(op));
    db.Exec("DELETE FROM FILES");
    Put(Side::Usb, "Report.txt", "the stick's newer copy", kTuesday);
    Put(Side::Pc, "Report.txt", oldText, kMonday);
    Remember(id, "Report.txt", Side::Pc, "Report.txt");
    Analyse();
    ASSERT_EQ(Code("Report.txt"), "A2");
    fs.ClearFaults();
    for (int attempt = 1; attempt <= 3; ++attempt) fs.FailAt(attempt, EIO, op, ".tandrel-");
    Run();
    fs.ClearFaults();

    EXPECT_EQ(ReadAll(PcPath("Report.txt")), oldText);
    EXPECT_EQ(ModifiedTime(PcPath("Report.txt")), (FileTime{kMonday, 0}));
    EXPECT_TRUE(TemporaryFiles(pair.Pc()).empty());
    EXPECT_EQ(session->Fallos, 1);
    EXPECT_EQ(view.Row("Report.txt")->icon, "KO");
    EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("Report.txt")));
    EXPECT_EQ(RowCount(id), 0);
  }
}

TEST_F(RunTest, CopyThatFailsOnceSucceedsOnTheNextAttemptWithoutALogLine) {
  AddTask("NEAR", "NEAR");
  Put(Side::Usb, "A.txt", "a", kMonday);
  Analyse();
  fs.FailAt(1, EIO, FsOp::Write);
  Run();
  EXPECT_EQ(ReadAll(PcPath("A.txt")), "a");
  EXPECT_EQ(session->Fallos, 0);
  EXPECT_FALSE(view.LogHas("** ERROR **"));
}

// A PC folder on a tmpfs of one mebibyte (tests run as root in CI; elsewhere this is skipped).
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
  const auto id = AddTask("NEAR", "NEAR");
  Put(Side::Usb, "Big.bin", std::string(2 << 20, 'b'), kTuesday);
  Put(Side::Usb, "Doc.txt", std::string(1536 << 10, 'n'), kTuesday);  // A2 that does not fit
  Put(Side::Pc, "Doc.txt", "small old version", kMonday);
  Remember(id, "Doc.txt", Side::Pc, "Doc.txt");
  Put(Side::Usb, "Small.txt", "fits", kMonday);
  Sync();

  EXPECT_EQ(session->Fallos, 2);
  EXPECT_FALSE(Exists(PcPath("Big.bin")));
  EXPECT_EQ(ReadAll(PcPath("Doc.txt")), "small old version");
  EXPECT_EQ(ReadAll(PcPath("Small.txt")), "fits");
  EXPECT_TRUE(TemporaryFiles(pair.Pc()).empty());
  EXPECT_TRUE(view.LogHas("** ERROR ** : " + UsbPath("Big.bin")));
}

TEST_F(RunTest, BatchIsNotCommittedWhenItsFilesCannotBeFlushed) {
  const auto id = AddTask("NEAR", "NEAR");
  Put(Side::Usb, "New.txt", "new", kMonday);
  Put(Side::Pc, "Same.txt", "same", kMonday);
  Put(Side::Usb, "Same.txt", "same", kMonday);
  db.AddFile({.hostname = kRunHost, .task = id, .file = "Same.txt", .size = "4", .last = "x"});
  Analyse();
  fs.FailAt(1, EIO, FsOp::SyncFileSystem);
  Run();
  EXPECT_EQ(ReadAll(PcPath("New.txt")), "new");
  EXPECT_TRUE(view.LogHas("** ERROR ** : "));
  // The old row stays as it was, and no row claims the copy.
  const auto rows = Rows(id);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.at("Same.txt").last, "x");
  Analyse();
  EXPECT_EQ(Code("New.txt"), "ZZ");
}

TEST_F(RunTest, StickPulledOutMidRunDeletesNothingTheUserHas) {
  const auto id = AddTask("NEAR", "NEAR");
  for (int i = 0; i < 6; ++i) Put(Side::Pc, "Pc" + std::to_string(i) + ".txt", "pc", kMonday);
  Put(Side::Usb, "Old.txt", "old", kMonday);  // on both sides, known: stays "ZZ"
  Put(Side::Pc, "Old.txt", "old", kMonday);
  Remember(id, "Old.txt", Side::Pc, "Old.txt");
  Analyse();
  // Gone after the first copy has begun: the rest of the run cannot write the stick, and the flush
  // before the commit fails, so the rows of the batch must not claim copies that may be lost.
  fs.VanishAt(fs.Calls() + 8, pair.Usb());
  Run();
  fs.ClearFaults();
  EXPECT_GT(session->Fallos, 0);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(ReadAll(PcPath("Pc" + std::to_string(i) + ".txt")), "pc");

  // The stick back: nothing of the PC is planned for deletion, and a run finishes the work.
  Analyse();
  for (const auto& [name, code] : Codes()) {
    EXPECT_NE(code, "X2") << name;
    EXPECT_NE(code, "X1") << name;
  }
  Run();
  EXPECT_EQ(Tree(UsbPath("")), Tree(pair.Pc()));
}

// The scenario of the kill test: every kind of action, with versions told apart by content.
struct Scenario {
  std::map<std::string, std::string> oldPc, oldUsb;  // relative path -> content before the run
  std::map<std::string, std::string> newPc, newUsb;  // after a finished run (absent: deleted)
};

class KilledRunTest : public RunTest {
 protected:
  Scenario Build(std::int64_t id) {
    Scenario s;
    std::filesystem::remove_all(UsbPath(""));
    std::filesystem::remove_all(pair.Pc());
    std::filesystem::create_directories(UsbPath(""));
    std::filesystem::create_directories(pair.Pc());
    db.Exec("DELETE FROM FILES");
    auto both = [&](const std::string& name, const std::string& usb, std::int64_t usbTime,
                    const std::string& pc, std::int64_t pcTime, Side known) {
      Put(Side::Usb, name, usb, usbTime);
      Put(Side::Pc, name, pc, pcTime);
      Remember(id, name, known, name);
      s.oldUsb[name] = usb;
      s.oldPc[name] = pc;
    };
    for (int i = 0; i < 3; ++i) {  // C1, one of them large enough for several reads
      const std::string name = "In/New" + std::to_string(i) + ".txt";
      const std::string text = i == 0 ? std::string(1536 << 10, 'L') : "new " + std::to_string(i);
      Put(Side::Usb, name, text, kMonday);
      s.oldUsb[name] = s.newUsb[name] = s.newPc[name] = text;
    }
    for (int i = 0; i < 105; ++i) {  // enough successes for a yield, and so a commit, mid-run
      const std::string name = "Many/F" + std::to_string(i) + ".txt";
      Put(Side::Usb, name, name, kMonday);
      s.oldUsb[name] = s.newUsb[name] = s.newPc[name] = name;
    }
    Put(Side::Pc, "Back.txt", "from the pc", kMonday);  // C2
    s.oldPc["Back.txt"] = s.newPc["Back.txt"] = s.newUsb["Back.txt"] = "from the pc";
    for (int i = 0; i < 2; ++i) {  // A2 and A1
      const std::string up = "Up" + std::to_string(i) + ".txt";
      both(up, "stick v2 " + std::to_string(i), kTuesday, "pc v1", kMonday, Side::Pc);
      s.newUsb[up] = s.newPc[up] = "stick v2 " + std::to_string(i);
      const std::string down = "Down" + std::to_string(i) + ".txt";
      both(down, "stick v1", kMonday, "pc v2 " + std::to_string(i), kTuesday, Side::Usb);
      s.newUsb[down] = s.newPc[down] = "pc v2 " + std::to_string(i);
    }
    Put(Side::Pc, "Drop.txt", "deleted on the stick", kMonday);  // X2
    Remember(id, "Drop.txt", Side::Pc, "Drop.txt");
    s.oldPc["Drop.txt"] = "deleted on the stick";
    both("Clash.txt", "stick", kTuesday, "pc!", kFriday, Side::Usb);  // one side changed: A1
    s.oldUsb["Clash.txt"] = "stick";
    s.newUsb["Clash.txt"] = s.newPc["Clash.txt"] = "pc!";
    return s;
  }

  // Every file is its old or its new version, never a cut one.
  static void ExpectWhole(const std::map<std::string, std::string>& tree,
                          const std::map<std::string, std::string>& before,
                          const std::map<std::string, std::string>& after, const char* side) {
    for (const auto& [name, content] : tree) {
      const auto old = before.find(name);
      const auto fresh = after.find(name);
      const bool whole = (old != before.end() && old->second == content) ||
                         (fresh != after.end() && fresh->second == content);
      EXPECT_TRUE(whole) << side << " " << name << " is neither version (" << content.size()
                         << " bytes)";
    }
    // A file the user has on this side before and after the run never goes missing meanwhile.
    for (const auto& [name, content] : before) {
      if (after.count(name) != 0) {
        EXPECT_EQ(tree.count(name), 1u) << side << " lost " << name;
      }
    }
  }
};

TEST_F(KilledRunTest, RunKilledAtAnyCallLosesNothingAndTheNextRunFinishes) {
  const auto id = AddTask("NEAR", "NEAR");
  // A whole run first, to learn its calls. The process is then stopped before each flush that
  // precedes a commit and the call after it, and before some twenty-five calls spread over the
  // run. The killed run commits at every yield; the runs that check on it at their end only.
  const RunSettings programs = settings;
  fs.SkipFlushes(true);  // a stopped process loses nothing the kernel holds
  settings.commitInterval = std::chrono::milliseconds(0);
  Scenario s = Build(id);
  Analyse();
  const std::uint64_t start = fs.Calls();
  fs.Record(true);
  Run();
  fs.Record(false);
  const std::vector<FaultInjectingFileSystem::Call> journal = fs.Journal();
  ASSERT_EQ(Tree(pair.Pc()), s.newPc);
  ASSERT_EQ(fs.Calls() - start, journal.size());
  settings = programs;
  ASSERT_GE(fs.Count(FsOp::SyncFileSystem), 4u) << "a commit mid-run and one at the end";
  std::set<std::uint64_t> points;
  const std::uint64_t stride = journal.size() / 25 + 1;
  for (std::uint64_t k = 1; k <= journal.size(); ++k) {
    if (journal[k - 1].op == FsOp::SyncFileSystem || k % stride == 0) {
      points.insert(k);
      points.insert(k + 1);
    }
  }

  for (const std::uint64_t k : points) {
    const std::uint64_t calls = journal.size();
    SCOPED_TRACE("killed before call " + std::to_string(k) + " of " + std::to_string(calls));
    s = Build(id);
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
    ASSERT_TRUE(WIFEXITED(status));
    const bool killed = WEXITSTATUS(status) == kKilledExitCode;
    ASSERT_TRUE(killed || WEXITSTATUS(status) == 0) << WEXITSTATUS(status);

    auto withoutTemporaries = [](std::map<std::string, std::string> tree) {
      std::erase_if(tree, [](const auto& file) {
        return std::filesystem::path(file.first).filename().string().starts_with(".tandrel-");
      });
      return tree;
    };
    ExpectWhole(withoutTemporaries(Tree(UsbPath(""))), s.oldUsb, s.newUsb, "stick");
    ExpectWhole(withoutTemporaries(Tree(pair.Pc())), s.oldPc, s.newPc, "pc");

    OpenSession();
    Analyse();
    for (const auto& [name, code] : Codes()) {
      if (code == "X1" || code == "X2") {
        EXPECT_EQ(name, "Drop.txt") << code;
      }
    }
    Run();
    EXPECT_EQ(Tree(UsbPath("")), s.newUsb);
    EXPECT_EQ(Tree(pair.Pc()), s.newPc);
    Analyse();
    for (const auto& [name, code] : Codes()) EXPECT_EQ(code, "ZZ") << name;
    if (HasFailure()) break;  // one broken point tells enough
  }
}

}  // namespace
}  // namespace tandrel::test
