// The order in which a run makes things durable: every file it puts in place, deletes or
// re-times is flushed, on the file system that holds it, before the next commit of the database
// (whose rows say the file is in step). Read from the file calls recorded in order, with the
// commits of the run's connection marked among them.
#include <sys/stat.h>

#include <cerrno>

#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

class DurabilityTest : public RunTest {
 protected:
  // Records the run's file calls, with the commits of its connection marked among them.
  void RecordRun() {
    CommitMarks marks(session->conexion.Db().Handle(), fs);
    fs.Record(true);
    Run();
    fs.Record(false);
    commits = marks.At();
  }

  // One of every action, a failure that commits mid-run, and files for a second file system below
  // the PC folder.
  void PlanEveryAction(std::int64_t id) {
    Put(Side::Usb, "New.txt", "new", kMonday);                    // "C1"
    Put(Side::Pc, "Sub/Back.txt", "back", kMonday + 1);           // "C2", its time rounded
    Put(Side::Usb, "Up.txt", "stick v2", kTuesday);               // "A2"
    Put(Side::Pc, "Up.txt", "v1", kMonday);
    Remember(id, "Up.txt", Side::Pc);
    Put(Side::Usb, "Down.txt", "v1", kMonday);                    // "A1"
    Put(Side::Pc, "Down.txt", "pc v2", kTuesday);
    Remember(id, "Down.txt", Side::Usb);
    Put(Side::Usb, "Deleted1.txt", "x", kMonday);                 // "X1"
    Remember(id, "Deleted1.txt", Side::Usb);
    Put(Side::Pc, "Deleted2.txt", "x", kMonday);                  // "X2"
    Remember(id, "Deleted2.txt", Side::Pc);
    Put(Side::Usb, "Blocked.txt", "unreadable", kMonday);         // "C1" that fails: a yield
    Put(Side::Usb, "Mounted/Inner.txt", "other device", kMonday);  // "C1" into Mounted
    Put(Side::Pc, "Mounted/Outer.txt", "other device", kMonday);   // "C2" out of it
  }

  std::vector<std::size_t> commits;
};

TEST_F(DurabilityTest, EveryChangeIsFlushedBeforeTheCommitThatRecordsIt) {
  const auto id = AddTask();
  fs.RoundTimes(pair.Usb());  // a FAT stick: a copy onto it re-times its source
  PlanEveryAction(id);
  Analyse();
  for (int attempt = 1; attempt <= 3; ++attempt) fs.FailAt(attempt, EACCES, FsOp::Open, "Blocked");
  settings.commitInterval = std::chrono::milliseconds(0);
  RecordRun();
  EXPECT_EQ(session->Fallos, 1);
  EXPECT_GE(commits.size(), 2u) << "a commit mid-run and one at the end";
  EXPECT_GT(ExpectFlushedBeforeEachCommit(fs.Journal(), commits), 8);
}

TEST_F(DurabilityTest, AFileSystemMountedBelowATaskFolderIsFlushedToo) {
  const auto id = AddTask();
  pair.AddFolder(Side::Pc, "Mounted");
  TmpfsMount below(pair.Pc() + "/Mounted", "1m");
  if (!below.Mounted()) GTEST_SKIP() << below.Error();
  struct stat outer {}, inner {};
  ASSERT_EQ(::stat(pair.Pc().c_str(), &outer), 0);
  ASSERT_EQ(::stat((pair.Pc() + "/Mounted").c_str(), &inner), 0);
  ASSERT_NE(inner.st_dev, outer.st_dev);
  PlanEveryAction(id);
  Analyse();
  RecordRun();
  EXPECT_EQ(ReadAll(PcPath("Mounted/Inner.txt")), "other device");
  EXPECT_GT(ExpectFlushedBeforeEachCommit(fs.Journal(), commits), 8);
}

}  // namespace
}  // namespace tandrel::test
