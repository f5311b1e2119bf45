// The layout rules in twips, and the same rules on the real widgets after a resize.
#include <gtest/gtest.h>

#include <QProgressBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeView>

#include "tests/ui/WindowFixture.h"
#include "ui/MainLayout.h"

namespace tandrel {
namespace {

// What must hold after every fit, whatever the size.
void ExpectFitted(const MainLayout& l, int width, int height, const MainLayout& designed) {
  SCOPED_TRACE(testing::Message() << width << " x " << height);
  EXPECT_EQ(l.BAR.top + l.BAR.height, height);
  EXPECT_EQ(l.panel1Width, width);
  EXPECT_EQ(l.fraMain.left * 2 + l.fraMain.width, width);
  EXPECT_EQ(l.fraMain.top + l.fraMain.height, l.BAR.top);
  EXPECT_EQ(l.lstTareas.height, designed.lstTareas.height);
  EXPECT_EQ(l.lstTareas.width, l.picEstado.width);
  EXPECT_EQ(l.fraEstado.width, l.picEstado.width);
  EXPECT_EQ(l.fraEstado.height, l.picEstado.height);
  // The log box keeps its width and its margin to the right edge.
  EXPECT_EQ(l.txtEstado.width, designed.txtEstado.width);
  EXPECT_EQ(l.txtEstado.left + l.txtEstado.width + l.lstEstado.left, l.picEstado.width);
  EXPECT_EQ(l.txtEstado.height, l.lstEstado.height - 500);
  // The progress bar sits just below the log box, as wide as it.
  EXPECT_EQ(l.ProgressBar.left, l.txtEstado.left);
  EXPECT_EQ(l.ProgressBar.width, l.txtEstado.width);
  EXPECT_EQ(l.ProgressBar.top, l.txtEstado.top + l.txtEstado.height + 60);
  // The file list takes the rest of the width left of the log box.
  EXPECT_EQ(l.lstEstado.left * 2 + l.lstEstado.width, l.txtEstado.left);
  EXPECT_EQ(l.lstEstado.height, l.picEstado.height - 2 * l.txtEstado.top + 120);
}

TEST(MainLayout, FitsEverySizeByTheSameRules) {
  const MainLayout designed = MainLayout::Designed();
  for (auto [w, h] : {std::pair{11295, 8100}, {15000, 11000}, {9000, 7000}, {30000, 20000}}) {
    MainLayout l = designed;
    l.Fit(w, h);
    ExpectFitted(l, w, h, designed);
  }
}

TEST(MainLayout, SizesThatWouldBeNegativeKeepTheirLastValues) {
  MainLayout l = MainLayout::Designed();
  l.Fit(12000, 9000);
  const MainLayout before = l;
  // Narrower than the log box and shorter than the task list: those rules are skipped.
  l.Fit(3000, 1500);
  EXPECT_EQ(l.txtEstado.left, before.txtEstado.left);
  EXPECT_EQ(l.lstEstado.width, before.lstEstado.width);
  EXPECT_EQ(l.picEstado.height, before.picEstado.height);
  // The rules that still make sense ran.
  EXPECT_EQ(l.fraMain.width, 3000 - 2 * l.fraMain.left);
  EXPECT_EQ(l.picEstado.width, l.fraMain.width - 2 * l.picEstado.left);
  // A size of nothing at all (a minimised window) changes nothing negative.
  l.Fit(0, 0);
  EXPECT_GE(l.fraMain.width, 0);
  EXPECT_GE(l.lstEstado.height, 0);
}

class WindowLayout : public test::WindowFixture {};

TEST_F(WindowLayout, ResizingKeepsTheLogBoxAtTheRightAndGivesTheRestToTheFileList) {
  auto& w = Build();
  w.show();
  auto* log = Control<QTextEdit>("txtEstado");
  auto* files = Control<QTreeView>("lstEstado");
  auto* progress = Control<QProgressBar>("ProgressBar");
  const int logWidth = log->width();
  for (QSize size : {QSize(1000, 700), QSize(820, 600), QSize(1400, 900)}) {
    SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
    w.resize(size);
    test::Pump();
    const int margin = files->x();
    EXPECT_NEAR(log->width(), logWidth, 1);
    EXPECT_NEAR(log->geometry().right() + 1 + margin, Control<QWidget>("picEstado")->width(), 1);
    EXPECT_NEAR(progress->y(), log->geometry().bottom() + 1 + TwipsToPixels(60, w.logicalDpiY()), 1);
    EXPECT_EQ(progress->x(), log->x());
    EXPECT_NEAR(files->width(), log->x() - 2 * margin, 1);
    EXPECT_EQ(Control<QStatusBar>("BAR")->geometry().bottom() + 1, Control<QWidget>("client")->height());
  }
}

}  // namespace
}  // namespace tandrel
