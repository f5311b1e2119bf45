// Compaction into a new file, and the rename that puts it in place of the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Public.h"
#include "store/Conexion.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using test::TempDatabase;

struct Messages : MessageSink {
  std::vector<std::string> shown;
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
    EXPECT_EQ(icon, MessageIcon::Warning);
    EXPECT_EQ(title, kTitulo);
    shown.push_back(text);
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class Compacta : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Exec(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)
               INSERT INTO FILES (HOSTNAME, TASK, FILE) SELECT 'PC', 1, 'Some\Long\Name ' || i FROM n)");
    db.Exec("DELETE FROM FILES WHERE rowid % 2 = 0");
    db.AddTask({.hostname = "PC", .descr = "kept"});
  }
  bool Compact() { return CompactaBD("data\\db.mdb", target, db.Folder(), messages); }
  TempDatabase db;
  Messages messages;
  const std::string target = db.Folder() + "\\data\\compact.mdb";
  const std::string targetPath = db.Folder() + "/data/compact.mdb";
};

TEST_F(Compacta, CompactsIntoTheTargetAndTheRenameReplacesTheDatabase) {
  const auto before = fs::file_size(db.Path());
  ASSERT_TRUE(Compact());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_LT(fs::file_size(targetPath), before);
  ASSERT_EQ(ReemplazaPorCompactado("\\data\\db.mdb", target, db.Folder()), "");
  EXPECT_FALSE(fs::exists(targetPath));
  EXPECT_EQ(db.Value("SELECT count(*) FROM FILES"), "1500");
  EXPECT_EQ(db.Value("SELECT DESCR FROM TASKS"), "kept");
}

TEST_F(Compacta, ALeftoverTargetIsKeptAndNeverRenamedIn) {
  std::ofstream(targetPath) << "left by an interrupted exit";
  EXPECT_FALSE(Compact());
  EXPECT_FALSE(Compact());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(messages.shown[0].find("already exists"), std::string::npos);
  EXPECT_EQ(fs::file_size(targetPath), 27u);
  EXPECT_NE(ReemplazaPorCompactado("data\\db.mdb", target, db.Folder()), "");
  EXPECT_EQ(db.Value("SELECT DESCR FROM TASKS"), "kept");
  fs::remove(targetPath);
  EXPECT_TRUE(Compact());
}

TEST_F(Compacta, AMissingInvalidOrDamagedSourceLeavesNoTarget) {
  EXPECT_FALSE(CompactaBD("data\\none.mdb", target, db.Folder(), messages));
  EXPECT_FALSE(fs::exists(db.Folder() + "/data/none.mdb"));
  std::ofstream(db.Folder() + "/data/words.mdb") << "not a database at all";
  EXPECT_FALSE(CompactaBD("data\\words.mdb", target, db.Folder(), messages));
  // Damaged past its schema: the source opens, and VACUUM INTO has made the target by the time it
  // meets the damage.
  const std::size_t schemaPages = 8 * 4096, size = fs::file_size(db.Path());
  ASSERT_GT(size, 2 * schemaPages);
  std::fstream(db.Path(), std::ios::in | std::ios::out | std::ios::binary).seekp(schemaPages)
      << std::string(size - schemaPages, '\xff');
  EXPECT_FALSE(Compact());
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_NE(messages.shown[0].find("does not exist"), std::string::npos);
  EXPECT_NE(messages.shown[1].find("not a SQLite database"), std::string::npos);
  EXPECT_NE(messages.shown[2].find("damaged"), std::string::npos);
  EXPECT_FALSE(fs::exists(targetPath));
}

}  // namespace
}  // namespace tandrel
