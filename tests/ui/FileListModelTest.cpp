// The file list's model: keyed rows, batches handed to the view, and 100,000 rows.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QIcon>
#include <QTreeView>

#include "tests/ui/QtApp.h"
#include "ui/FileListModel.h"
#include "ui/Icons.h"

namespace tandrel {
namespace {

FileRow Row(const std::string& key, const std::string& icon = "ADD") {
  return {key, icon, "New", "/media/STICK -----> /", "10 bytes"};
}

class FileListModelTest : public ::testing::Test {
 protected:
  FileListModelTest() { test::EnsureApplication(); }
  ImageList images = MakeStateImages();
  FileListModel model{images};
};

TEST_F(FileListModelTest, RowsAreKeyedAndTheFirstOfAKeyStays) {
  model.Add(Row("Docs\\A.txt"));
  model.Add(Row("Docs\\B.txt", "CONFLICT"));
  model.Add(Row("Docs\\A.txt", "DEL"));
  EXPECT_EQ(model.Count(), 2);
  EXPECT_EQ(model.rowCount(), 0) << "shown only when control returns to the event loop";
  model.Flush();
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.KeyAt(0), "Docs\\A.txt");
  EXPECT_EQ(model.Find("Docs\\A.txt")->icon, "ADD");
  EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), "Docs\\B.txt");
  EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), "New");
  EXPECT_EQ(model.data(model.index(1, 2), Qt::DisplayRole).toString(), "/media/STICK -----> /");
  EXPECT_EQ(model.data(model.index(1, 3), Qt::DisplayRole).toString(), "10 bytes");
  EXPECT_FALSE(model.data(model.index(1, 0), Qt::DecorationRole).value<QIcon>().isNull());
  EXPECT_EQ(model.KeyAt(2), "");
}

TEST_F(FileListModelTest, ChangesReachRowsByKeyAndSkipUnknownKeys) {
  model.Add(Row("a"));
  model.Add(Row("b"));
  model.Flush();
  model.Add(Row("c"));  // not yet shown: still found by its key
  EXPECT_TRUE(model.SetArrowAndIcon("a", "E: <----- C:", "USER"));
  EXPECT_TRUE(model.SetResult("c", "KO", "Failed"));
  EXPECT_FALSE(model.SetResult("zz", "OK", "Done"));
  EXPECT_EQ(model.Find("a")->arrow, "E: <----- C:");
  EXPECT_EQ(model.Find("a")->icon, "USER");
  EXPECT_EQ(model.Find("c")->state, "Failed");
  EXPECT_EQ(model.Find("zz"), nullptr);
  model.Clear();
  EXPECT_EQ(model.Count(), 0);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.Find("a"), nullptr);
}

TEST_F(FileListModelTest, RowsReachTheViewOnceTheEventLoopRuns) {
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setModel(&model);
  model.Add(Row("x"));
  model.Add(Row("y"));
  QCoreApplication::processEvents();
  EXPECT_EQ(view.model()->rowCount(), 2);
}

TEST_F(FileListModelTest, HoldsAHundredThousandRowsInAView) {
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setModel(&model);
  view.resize(600, 400);
  view.show();
  for (int i = 0; i < 100000; ++i) model.Add(Row("Folder\\File" + std::to_string(i) + ".txt"));
  model.Flush();
  QCoreApplication::processEvents();
  ASSERT_EQ(model.rowCount(), 100000);
  EXPECT_TRUE(model.SetResult("Folder\\File99999.txt", "OK", "Done"));
  EXPECT_EQ(model.data(model.index(99999, 1), Qt::DisplayRole).toString(), "Done");
  view.scrollToBottom();
  QCoreApplication::processEvents();
  EXPECT_EQ(model.KeyAt(50000), "Folder\\File50000.txt");
}

}  // namespace
}  // namespace tandrel
