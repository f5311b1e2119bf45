// The database file when things go wrong around it: the program killed in the middle of the
// compaction at exit, and a database that cannot be written before or in the middle of a run. The
// database is never replaced, the user is told why, and files already copied stay as they are.
// (A file that cannot be a database at all is the connection's to refuse: the store's tests.)
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/Startup.h"
#include "tests/engine/FaultsFixture.h"
#include "tests/support/RunFixture.h"

namespace tandrel::test {
namespace {

namespace fsys = std::filesystem;

// SQLite's progress callback in a child process: after so many calls of every connection opened
// from now on, the process ends at once, wherever SQLite is (inside VACUUM INTO, say).
std::uint64_t callsBeforeKill = 0;

int KillWhenDue(void*) {
  if (--callsBeforeKill == 0) _exit(kKilledExitCode);
  return 0;
}

int WatchConnection(sqlite3* db, char**, const sqlite3_api_routines*) {
  sqlite3_progress_handler(db, 50, &KillWhenDue, nullptr);
  return SQLITE_OK;
}

class DatabaseFaultTest : public RunTest {
 protected:
  // Starts up against the program folder and exits with compaction, as the program does; what it
  // told the user, or why not when start-up ends otherwise than expected.
  std::string StartAndExit(StartResult expected) {
    Session s(db.Folder(), "Tandrel", MountTable{{"/"}}, real);
    RecordingView v;
    const StartOptions quiet{.firstRunWizard = false, .runAutoStart = false};
    if (StartUpAgainstDatabase(s, v, quiet) != expected) return "<start-up ended otherwise>";
    s.INI.CompactDataBase = true;
    ShutDown(s, v);
    std::string told;
    for (const auto& message : v.messages) told += message.text + "\n";
    return told;
  }
  std::string Compacted() const { return db.Folder() + "/data/compact.mdb"; }
  std::int64_t FileRows() { return db.Count("SELECT count(*) FROM FILES"); }
};

TEST_F(DatabaseFaultTest, KilledWhileCompactingAtExitLeavesTheDatabaseWhole) {
  db.Exec(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)
             INSERT INTO FILES (HOSTNAME, TASK, FILE) SELECT 'PC', 1, 'Folder\File ' || i FROM n)");
  db.Exec("DELETE FROM FILES WHERE rowid % 3 = 0");
  const std::int64_t rows = FileRows();
  CloseSession();

  // A child starts up and exits with compaction, and is killed after n progress calls of SQLite,
  // n doubling until the kill is past the end: kill points spread over the start-up and the whole
  // compaction (its VACUUM INTO and both integrity checks). After each kill the database is whole; a compacted
  // file left behind is the user's to look at, and every later exit leaves it alone (the store's
  // tests), so it goes before the next kill.
  int points = 0, leftovers = 0;
  for (std::uint64_t n = 1; n < (1u << 24); n *= 2, ++points) {
    SCOPED_TRACE("killed after " + std::to_string(n) + " progress calls");
    const pid_t child = ::fork();
    if (child == 0) {
      callsBeforeKill = n;
      sqlite3_auto_extension(reinterpret_cast<void (*)()>(&WatchConnection));
      _exit(StartAndExit(StartResult::Ready).empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    ASSERT_TRUE(WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == kKilledExitCode) << status;
    EXPECT_EQ(IntegrityCheck(db.Path()), "ok");
    EXPECT_EQ(FileRows(), rows) << "the database is never replaced";
    leftovers += fsys::remove(Compacted()) ? 1 : 0;
    if (WEXITSTATUS(status) == 0 || HasFailure()) break;
  }
  EXPECT_GT(points, 8);
  EXPECT_GT(leftovers, 2) << "no kill fell inside the compaction";
  std::cout << "[          ] " << points << " kill points, " << leftovers
            << " left a compacted file\n";
  OpenSession();
}

// Write-protected by its owner bit (root too), its folder's or its disk's, or held by another
// program's write: the tasks are listed and analysed, every run is refused naming the file before
// its first copy, and the exit neither compacts nor replaces it; once the other program lets go the
// same plan is carried out. A second Tandrel on the same database stops at start-up.
TEST_F(DatabaseFaultTest, ADatabaseThatCannotBeWrittenIsAnalysedButNeverRunNorCompacted) {
  AddTask();
  Put(Side::Usb, "New.txt", "new", kMonday);
  const std::string second = StartAndExit(StartResult::ConnectionError);
  EXPECT_NE(second.find(session->W("errDBInUse")), std::string::npos) << second;
  EXPECT_FALSE(fsys::exists(Compacted()) || fsys::exists(db.Folder() + "/Tandrel.ini"));
  CloseSession();
  const std::string saved = ReadBytes(db.Path());
  const std::string folder = db.Folder() + "/data";
  for (const std::string what : {"file", "folder", "drive", "held"}) {
    SCOPED_TRACE(what);
    std::unique_ptr<TmpfsMount> drive;
    if (what == "drive") {
      drive = std::make_unique<TmpfsMount>(folder, "1m");
      if (!drive->Mounted()) {
        std::cout << "[  SKIPPED ] " << drive->Error() << "\n";
        continue;
      }
      std::ofstream(db.Path(), std::ios::binary) << saved;
      ASSERT_EQ(drive->Remount(true), "");
    } else if (what != "held") {
      ::chmod(what == "file" ? db.Path().c_str() : folder.c_str(), 0555);
    }
    view = RecordingView();
    OpenSession();
    sqlite3* other = nullptr;
    if (what == "held") {
      ASSERT_EQ(sqlite3_open_v2(db.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr),
                SQLITE_OK);
      ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
      sqlite3_busy_timeout(session->conexion.Db().Handle(), 10);
    }
    Analyse();
    EXPECT_EQ(Code("New.txt"), "C1");
    Run();
    ASSERT_EQ(view.messages.size(), 1u);
    const std::string refusal =
        other ? session->W("errDBWrite")
              : "\"" + db.Path() + "\" is read-only: changes cannot be recorded";
    const std::string& text = view.messages[0].text;
    EXPECT_TRUE(text.find(refusal) != std::string::npos &&
                text.find(db.Path()) != std::string::npos)
        << text;
    EXPECT_FALSE(fsys::exists(PcPath("New.txt")));
    if (other) {
      sqlite3_close(other);
      Run();
      EXPECT_EQ(ReadBytes(PcPath("New.txt")), "new");
      continue;
    }
    CloseSession();
    const std::string told = StartAndExit(StartResult::Ready);
    EXPECT_NE(told.find("read-only"), std::string::npos) << told;
    EXPECT_EQ(ReadBytes(db.Path()), saved);
    EXPECT_FALSE(fsys::exists(Compacted()));
    ::chmod(db.Path().c_str(), 0644);
    ::chmod(folder.c_str(), 0755);
  }
}

// The database's own folder on a small file system of its own, which fills up after the analysis.
// The run stops at the first entry it cannot record: the entries after it are named and left as
// they are, with their old rows. (A read-only turn cannot be staged: the system
// refuses to remount a file system read-only while the database is open for writing on it.)
TEST_F(DatabaseFaultTest, ADatabaseThatCannotBeWrittenMidRunStopsTheRunAtThatEntry) {
  CloseSession();
  const std::string saved = ReadBytes(db.Path());
  TmpfsMount drive(db.Folder() + "/data", "256k");
  if (!drive.Mounted()) GTEST_SKIP() << drive.Error();
  const std::string filler = db.Folder() + "/data/filler";
  std::ofstream(db.Path(), std::ios::binary | std::ios::trunc) << saved;
  OpenSession();
  const auto id = AddTask();
  Put(Side::Usb, "New.txt", "new", kMonday);  // "C1", the first entry
  Put(Side::Usb, "Up.txt", "stick v2", kTuesday);  // "A2"
  Put(Side::Pc, "Up.txt", "v1", kMonday);
  Remember(id, "Up.txt", Side::Pc);
  Put(Side::Pc, "Deleted2.txt", "x", kMonday);  // "X2"
  Remember(id, "Deleted2.txt", Side::Pc);
  const Names rowsBefore = Rows(id);
  Analyse();
  ASSERT_EQ(session->Archivos.ITemID(1).Nombre, "New.txt");
  {
    std::ofstream fill(filler, std::ios::binary);
    const std::string block(4096, 'f');
    while (fill.write(block.data(), block.size())) {}
  }
  {
    CommitMarks marks(session->conexion.Db().Handle(), fs);
    fs.Record(true);
    Run();
    fs.Record(false);
    ExpectFlushedBeforeEachCommit(fs.Journal(), marks.At());
  }
  EXPECT_TRUE(view.LogHas("** ERROR ** : FILES") && view.LogHas(session->W("errDBStopped") + " 2"));
  EXPECT_TRUE(view.LogHas("  Up.txt") && view.LogHas("  Deleted2.txt"));
  ASSERT_TRUE(session->databaseError && !view.messages.empty());
  EXPECT_NE(view.messages.back().text.find(db.Path()), std::string::npos);
  EXPECT_EQ(Tree(pair.Pc()), (Names{{"New.txt", "new"}, {"Up.txt", "v1"}, {"Deleted2.txt", "x"}}));

  CloseSession();
  fsys::remove(filler);
  EXPECT_EQ(IntegrityCheck(db.Path()), "ok");
  // With the files as they were, the old rows plan them again.
  EXPECT_EQ(Rows(id), rowsBefore) << "the old rows stay: no batch committed";
}

}  // namespace
}  // namespace tandrel::test
