// The run progress bar in the main window's top bar.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <algorithm>
#include <thread>

#include "app/progress_display.h"
#include "app/run_progress.h"
#include "gui_helpers.h"

namespace velmont::app {
namespace {

class ProgressBar : public ::testing::Test {
 protected:
  void SetUp() override {
    for (QFrame*& r : rules) r = new QFrame(&window);
    display = std::make_unique<ProgressDisplay>(line1, line2, rules);
  }
  // The bar's length after each call, as the user would see it.
  std::vector<int> lengths;
  void seen() { lengths.push_back(int(line2->text().size())); }

  QWidget window;
  QLabel* line1 = new QLabel(" ", &window);
  QLabel* line2 = new QLabel(" ", &window);
  std::array<QFrame*, 4> rules{};
  std::unique_ptr<ProgressDisplay> display;
};

// A list reads its students in name order (their places in the file jump
// about), then prints them counted: the bar only ever grows.
TEST_F(ProgressBar, ReadingThenCountingNeverGoesBack) {
  RunProgress p(display.get());
  p.begin("0   printing   50%   report  100%");
  EXPECT_EQ(line2->text(), "");
  double last = 0;
  for (int i = 0; i < 230; ++i) {
    p.step(230);
    EXPECT_GE(p.share(), last);
    last = p.share();
    seen();
  }
  EXPECT_DOUBLE_EQ(p.share(), 0.5);  // reading fills half
  for (int done = 0; done <= 40; ++done) {
    p.count(done, 40);
    EXPECT_GE(p.share(), last) << done;
    last = p.share();
    seen();
    p.step(230);  // records read while counting do not move the bar
  }
  EXPECT_DOUBLE_EQ(p.share(), 1.0);
  EXPECT_TRUE(std::is_sorted(lengths.begin(), lengths.end()));
  EXPECT_EQ(lengths.back(), kProgressBarWidth);
  EXPECT_TRUE(line1->text().startsWith("40 of 40 printed")) << line1->text().toStdString();
  EXPECT_DOUBLE_EQ(line2->property("share").toDouble(), 1.0);
}

TEST_F(ProgressBar, ACountedRunFillsTheWholeBarByItsCount) {
  RunProgress p(display.get());
  p.begin("scale");
  p.count(0, 120);
  EXPECT_EQ(line1->text(), "0 of 120 printed");
  p.count(60, 120);
  EXPECT_EQ(line2->text().size(), kProgressBarWidth / 2);
  p.begin("scale");  // the next run starts empty
  EXPECT_EQ(line1->text(), "scale");
  EXPECT_EQ(line2->text(), "");
}

TEST_F(ProgressBar, CallsFromARunsThreadReachTheWindow) {
  std::thread run([&] {
    RunProgress p(display.get());
    p.begin("0   printing   50%   report  100%");
    p.count(230, 230);
    display->showFrame(true);
  });
  run.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return line2->text().size() == 23; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !rules[3]->isHidden(); }, 5000));
  display->reset();
  EXPECT_EQ(line2->text(), " ");
  EXPECT_TRUE(rules[0]->isHidden());
}

TEST(ProgressBarText, LengthAndCountLine) {
  EXPECT_EQ(progressBar(0), "");
  EXPECT_EQ(progressBar(100.0 / 230), QString(10, QChar(0x2588)));
  EXPECT_EQ(progressBar(1.5).size(), 23);  // past the end stays full
  EXPECT_EQ(progressCountLine(0, 120, 0), "0 of 120 printed");
  EXPECT_EQ(progressCountLine(12, 120, 6), "12 of 120 printed, 0:54 left");
  EXPECT_EQ(progressCountLine(120, 120, 60), "120 of 120 printed, 0:00 left");
  EXPECT_EQ(progressCountLine(1, 2000, 1), "1 of 2000 printed, 33:19 left");
}

}  // namespace
}  // namespace velmont::app
