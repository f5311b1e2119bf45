// The file list's model: keyed rows, and batches handed to the view.
#include <gtest/gtest.h>

#include "tests/ui/UiFixture.h"
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

TEST_F(FileListModelTest, RowsAreKeyedAndChangesReachThemByKey) {
  model.Add(Row("Docs\\A.txt"));
  model.Add(Row("Docs\\B.txt", "CONFLICT"));
  model.Add(Row("Docs\\A.txt", "DEL"));  // the first row of a key stays
  EXPECT_EQ(model.rowCount(), 0) << "shown only when control returns to the event loop";
  model.Flush();
  model.Add(Row("Docs\\C.txt"));  // waiting for the view, yet found by its key
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(model.Count(), 3);
  EXPECT_EQ(model.Find("Docs\\A.txt")->icon, "ADD");
  QStringList texts;
  for (int c = 0; c < 4; ++c) texts << model.data(model.index(1, c), Qt::DisplayRole).toString();
  EXPECT_EQ(texts.join("|"), "Docs\\B.txt|New|/media/STICK -----> /|10 bytes");
  EXPECT_FALSE(model.data(model.index(1, 0), Qt::DecorationRole).value<QIcon>().isNull());

  EXPECT_TRUE(model.SetArrowAndIcon("Docs\\A.txt", "E: <----- C:", "USER"));
  EXPECT_TRUE(model.SetResult("Docs\\C.txt", "KO", "Failed"));
  EXPECT_FALSE(model.SetResult("Docs\\Z.txt", "OK", "Done"));
  EXPECT_EQ(model.Find("Docs\\A.txt")->arrow + model.Find("Docs\\C.txt")->state, "E: <----- C:Failed");
  model.Clear();
  EXPECT_TRUE(model.Count() == 0 && model.Find("Docs\\A.txt") == nullptr);
}

}  // namespace
}  // namespace tandrel
