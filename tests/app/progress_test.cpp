// The run progress bar in the main window's top bar.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <thread>

#include "app/progress_display.h"
#include "app/run_progress.h"
#include "data/dbf_file.h"
#include "data/table.h"
#include "gui_helpers.h"
#include "temp_dir.h"

namespace velmont::app {
namespace {

class ProgressBar : public ::testing::Test {
 protected:
  void SetUp() override {
    for (QFrame*& r : rules) r = new QFrame(&window);
    display = std::make_unique<ProgressDisplay>(line1, line2, rules);
    data::DbfFile::create(path, {{"N", 'N', 4}});
    auto t = data::Table::open(path, "t", data::OpenMode::kReadWrite);
    for (int i = 0; i < 230; ++i) t->appendBlank();
    t->commit();
    table = data::Table::open(path, "t");
    // The counter lives for the whole program: call until a redraw, so that
    // the next call is the first of ten.
    table->goTo(230);
    for (int i = 0; i < 10 && line2->text() != progressBar(230, 230); ++i) HTML_PROG(display.get(), *table);
    ASSERT_EQ(line2->text(), progressBar(230, 230));
    line2->setText(" ");
  }
  void calls(int n, uint32_t recno) {
    table->goTo(recno);
    for (int i = 0; i < n; ++i) HTML_PROG(display.get(), *table);
  }

  testing::TempDir dir;
  std::string path = dir.file("ststuden.dbf");
  QWidget window;
  QLabel* line1 = new QLabel(" ", &window);
  QLabel* line2 = new QLabel(" ", &window);
  std::array<QFrame*, 4> rules{};
  std::unique_ptr<ProgressDisplay> display;
  std::unique_ptr<data::Table> table;
};

TEST_F(ProgressBar, EveryTenthCallRedrawsByTheRecordsPlaceInTheTable) {
  calls(9, 5);
  EXPECT_EQ(line2->text(), " ");  // fewer than ten records never redraw
  calls(1, 100);
  EXPECT_EQ(line2->text(), QString(10, QChar(0x2588)));  // 100 / 230 * 23 = 10
  calls(10, 230);
  EXPECT_EQ(line2->text().size(), 23);
  calls(10, 1);
  EXPECT_EQ(line2->text(), "");  // 1 / 230 * 23 is less than one character
}

TEST_F(ProgressBar, TheCounterCarriesOverToTheNextRun) {
  calls(7, 50);
  line2->setText(" ");
  calls(3, 115);  // the next run's third record is the tenth call
  EXPECT_EQ(line2->text().size(), 11);
}

TEST_F(ProgressBar, CallsFromARunsThreadReachTheWindow) {
  std::thread run([&] {
    auto own = data::Table::open(path, "t");  // a run opens its tables on its own thread
    own->goTo(230);
    for (int i = 0; i < 10; ++i) HTML_PROG(display.get(), *own);
    display->setLine1("0   printing   50%   report  100%");
    display->showFrame(true);
  });
  run.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return line2->text().size() == 23; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !rules[3]->isHidden(); }, 5000));
  EXPECT_EQ(line1->text(), "0   printing   50%   report  100%");
  display->reset();
  EXPECT_EQ(line2->text(), " ");
  EXPECT_TRUE(rules[0]->isHidden());
}

TEST(ProgressBarText, LengthFollowsTheShare) {
  EXPECT_EQ(progressBar(0, 230), "");
  EXPECT_EQ(progressBar(231, 230).size(), 23);  // past the end stays full
  EXPECT_EQ(progressBar(5, 0), "");
}

}  // namespace
}  // namespace velmont::app
