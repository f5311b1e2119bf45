// Compaction into a new file, and the rename that puts it in place of the database.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <cstdio>

#include <filesystem>
#include <fstream>

#include "core/Public.h"
#include "store/Conexion.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;

struct Messages : MessageSink {
  std::string shown;  // every text, one a line
  void ShowMessage(MessageIcon, const std::string&, const std::string& text) override {
    shown += text + "\n";
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class Compacta : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Exec(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)
               INSERT INTO FILES (HOSTNAME, TASK, FILE)
               SELECT 'PC', 1, 'Some\Long\Name ' || i FROM n)");
    db.Exec("DELETE FROM FILES WHERE rowid % 2 = 0");
    db.AddTask({.hostname = "PC", .descr = "kept"});
  }
  bool Compact() { return CompactaBD("data\\db.mdb", target, db.Folder(), messages); }
  std::string Replace() { return ReemplazaPorCompactado("data\\db.mdb", target, db.Folder()); }
  test::TempDatabase db;
  Messages messages;
  const std::string target = db.Folder() + "\\data\\compact.mdb";
  const std::string targetPath = db.Folder() + "/data/compact.mdb";
};

// The database is replaced only when nobody else is using it; every refusal leaves the database
// as it was and no compacted file behind. A compacted file left by an interrupted exit is never
// compacted over nor renamed in.
TEST_F(Compacta, ADatabaseInUseIsNeverReplaced) {
  std::ofstream(targetPath) << "left by an interrupted exit";
  EXPECT_FALSE(Compact());
  EXPECT_NE(Replace(), "");

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open_v2(db.Path().c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_stmt* reading = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(other, "SELECT FILE FROM FILES", -1, &reading, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);  // holds a shared lock until finalized
  EXPECT_FALSE(Compact());
  sqlite3_finalize(reading);

  // Another process with the file merely open (an idle database browser) holds no lock at all.
  // The shell says its process id once it has the file open, and sleep keeps both.
  FILE* browser = ::popen(("exec 3<'" + db.Path() + "'; echo $$; exec sleep 60").c_str(), "r");
  int pid = 0;
  ASSERT_TRUE(browser != nullptr && std::fscanf(browser, "%d", &pid) == 1);
  EXPECT_FALSE(Compact());
  ::kill(pid, SIGKILL);
  ::pclose(browser);
  EXPECT_FALSE(fs::exists(targetPath));

  // Another program's write that came after the copy would be lost with the old file.
  ASSERT_TRUE(Compact());
  db.Exec("INSERT INTO TASKS (DESCR) VALUES ('late')");
  EXPECT_NE(Replace(), "");
  EXPECT_FALSE(fs::exists(targetPath));
  sqlite3_close(other);
  for (const std::string& told : {std::string("already exists"),
                                  "Another program is using \"" + db.Path(),
                                  "(process " + std::to_string(pid) + ") has \"" + db.Path()}) {
    EXPECT_NE(messages.shown.find(told), std::string::npos) << messages.shown;
  }

  // Once nobody holds it, the compaction is smaller and its rename replaces the database.
  const auto before = fs::file_size(db.Path());
  ASSERT_TRUE(Compact());
  EXPECT_LT(fs::file_size(targetPath), before);
  ASSERT_EQ(ReemplazaPorCompactado("\\data\\db.mdb", target, db.Folder()), "");
  EXPECT_FALSE(fs::exists(targetPath));
  EXPECT_EQ(db.Value("SELECT count(*) || (SELECT group_concat(DESCR) FROM TASKS) FROM FILES"),
            "1500kept,late");
}

// Damaged past its schema, the source opens, and VACUUM INTO has made the target by the time it
// meets the damage.
TEST_F(Compacta, ADamagedSourceLeavesNoTarget) {
  const std::size_t schemaPages = 8 * 4096, size = fs::file_size(db.Path());
  ASSERT_GT(size, 2 * schemaPages);
  std::fstream(db.Path(), std::ios::in | std::ios::out | std::ios::binary).seekp(schemaPages)
      << std::string(size - schemaPages, '\xff');
  EXPECT_FALSE(Compact());
  EXPECT_NE(messages.shown.find("damaged"), std::string::npos) << messages.shown;
  EXPECT_FALSE(fs::exists(targetPath));
}

}  // namespace
}  // namespace tandrel
