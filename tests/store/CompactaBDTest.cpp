// Compaction into a new file, and the rename that puts it in place of the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/Public.h"
#include "core/UserInterface.h"
#include "store/Conexion.h"
#include "tests/support/TempDatabase.h"

namespace tandrel {
namespace {

namespace fs = std::filesystem;
using test::TempDatabase;

struct Messages : MessageSink {
  struct Shown {
    MessageIcon icon;
    std::string title, text;
  };
  std::vector<Shown> shown;
  void ShowMessage(MessageIcon icon, const std::string& title, const std::string& text) override {
    shown.push_back({icon, title, text});
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class Compacta : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Exec(R"(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)
               INSERT INTO FILES (HOSTNAME, TASK, FILE) SELECT 'PC', 1, 'Some\Long\Name ' || i FROM n)");
    db.AddTask({.hostname = "PC", .descr = "kept"});
    db.Exec("DELETE FROM FILES WHERE rowid % 2 = 0");
    target = db.Folder() + "\\data\\compact.mdb";
    targetPath = db.Folder() + "/data/compact.mdb";
  }
  TempDatabase db;
  Messages messages;
  std::string target, targetPath;
};

TEST_F(Compacta, CompactsIntoTheTargetAndTheRenameReplacesTheDatabase) {
  const auto before = fs::file_size(db.Path());
  ASSERT_TRUE(CompactaBD("data\\db.mdb", target, db.Folder(), messages));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_LT(fs::file_size(targetPath), before);
  EXPECT_TRUE(fs::exists(db.Path()));  // the caller renames

  ASSERT_EQ(ReemplazaPorCompactado("data\\db.mdb", target, db.Folder()), "");
  EXPECT_FALSE(fs::exists(targetPath));
  EXPECT_EQ(db.Value("SELECT count(*) FROM FILES"), "1500");
  EXPECT_EQ(db.Value("SELECT DESCR FROM TASKS"), "kept");
  EXPECT_EQ(db.Value("PRAGMA integrity_check"), "ok");
}

TEST_F(Compacta, SourcePathsRelativeRootedAndAbsoluteAllReachTheDatabase) {
  for (const std::string& source : {std::string("\\data\\db.mdb"), db.Path()}) {
    ASSERT_TRUE(CompactaBD(source, target, db.Folder(), messages)) << source;
    fs::remove(targetPath);
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Compacta, ALeftoverTargetIsKeptAndEveryCompactionWarnsUntilItGoes) {
  std::ofstream(targetPath) << "left by an interrupted exit";
  for (int i = 0; i < 2; ++i) EXPECT_FALSE(CompactaBD("data\\db.mdb", target, db.Folder(), messages));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
  EXPECT_EQ(messages.shown[0].title, kTitulo);
  EXPECT_NE(messages.shown[0].text.find("already exists"), std::string::npos);
  std::ifstream in(targetPath);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "left by an interrupted exit");
  // Nor may it be renamed in: it is not a database.
  EXPECT_NE(ReemplazaPorCompactado("data\\db.mdb", target, db.Folder()), "");
  EXPECT_EQ(db.Value("SELECT DESCR FROM TASKS"), "kept");

  fs::remove(targetPath);
  EXPECT_TRUE(CompactaBD("data\\db.mdb", target, db.Folder(), messages));
}

TEST_F(Compacta, AMissingOrInvalidSourceChangesNothing) {
  EXPECT_FALSE(CompactaBD("data\\none.mdb", target, db.Folder(), messages));
  EXPECT_FALSE(fs::exists(db.Folder() + "/data/none.mdb"));
  std::ofstream(db.Folder() + "/data/words.mdb") << "not a database at all";
  EXPECT_FALSE(CompactaBD("data\\words.mdb", target, db.Folder(), messages));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(messages.shown[0].text.find("does not exist"), std::string::npos);
  EXPECT_NE(messages.shown[1].text.find("not a SQLite database"), std::string::npos);
  EXPECT_FALSE(fs::exists(targetPath));
}

TEST_F(Compacta, ADatabaseDamagedPastItsSchemaLeavesNoTargetBehind) {
  // The schema page reads well, so the source opens; VACUUM INTO has made the target by the time it
  // meets the damaged page.
  const auto size = fs::file_size(db.Path());
  const std::size_t schemaPages = 8 * 4096;
  ASSERT_GT(size, 2 * schemaPages);
  {
    std::fstream f(db.Path(), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(schemaPages));
    f << std::string(size - schemaPages, '\xff');
  }
  EXPECT_FALSE(CompactaBD("data\\db.mdb", target, db.Folder(), messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("damaged"), std::string::npos) << messages.shown[0].text;
  EXPECT_FALSE(fs::exists(targetPath));
}

}  // namespace
}  // namespace tandrel
