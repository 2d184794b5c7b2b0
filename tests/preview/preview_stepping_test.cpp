// Stepping through a run card by card: the answers of the window's keys and buttons, in
// the stepping windows and in the final one, with the report on its own thread.
#include <QDialog>
#include <QPushButton>
#include <QWindow>

#include "preview_run.h"

namespace velmont::print::testing {
namespace {

TEST(PreviewStepping, NextPageShowsTheWindowBeforeEveryCardThenTheFinalWindow) {
  PreviewRun run(3);
  ASSERT_TRUE(run.waitForCall(1));
  auto* next = run.find<QPushButton>("nextOrQuit");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->text(), "&Next Page");
  EXPECT_FALSE(run.find<QPushButton>("runToLast")->isHidden());
  EXPECT_FALSE(run.find<QPushButton>("finish")->isHidden());
  EXPECT_EQ(run.find<QLabel>("pageSay")->text(), "1/1");
  run.press(Qt::Key_N);

  ASSERT_TRUE(run.waitForCall(2));
  EXPECT_EQ(run.find<QLabel>("pageSay")->text(), "2/2");
  QTest::mouseClick(next, Qt::LeftButton);  // the button posts N

  ASSERT_TRUE(run.waitForCall(3));
  EXPECT_EQ(next->text(), "&Quit");
  EXPECT_TRUE(run.find<QPushButton>("runToLast")->isHidden());
  EXPECT_TRUE(run.find<QPushButton>("finish")->isHidden());
  EXPECT_EQ(run.find<QLabel>("pageSay")->text(), "3/3");
  run.press(Qt::Key_N);  // N in the final window answers 0
  ASSERT_TRUE(run.finish());
  EXPECT_EQ(run.answers(), (std::vector<int>{1, 1}));
  EXPECT_EQ(run.pagesAtCall, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(run.finalAnswer, 0);
  EXPECT_EQ(run.window(), nullptr);  // the run destroyed the window
}

TEST(PreviewStepping, LastPageOrFinishRunsToTheEndWithoutStopping) {
  for (char key : {'L', 'l', 'F'}) {
    PreviewRun run(3);
    ASSERT_TRUE(run.waitForCall(1));
    run.pressText(key);
    ASSERT_TRUE(run.waitForCall(2)) << key;  // the final window, on all pages
    EXPECT_EQ(run.preview->pageCount(), 3);
    run.press(Qt::Key_Q);
    ASSERT_TRUE(run.finish());
    EXPECT_EQ(run.answers(), std::vector<int>{2}) << key;
    EXPECT_EQ(run.finalAnswer, 0);
  }
}

TEST(PreviewStepping, QuitOrEscapeStopsTheRunAndTheFinalWindowShowsWhatWasDrawn) {
  for (int key : {int(Qt::Key_Q), int(Qt::Key_Escape)}) {
    PreviewRun run(3);
    ASSERT_TRUE(run.waitForCall(1));
    run.press(key);
    ASSERT_TRUE(run.waitForCall(2));
    EXPECT_EQ(run.preview->pageCount(), 1);
    EXPECT_EQ(run.find<QLabel>("pageSay")->text(), "1/1");
    run.press(Qt::Key_Escape);
    ASSERT_TRUE(run.finish());
    EXPECT_EQ(run.answers(), std::vector<int>{0});
  }
}

TEST(PreviewStepping, AltLettersAnswerLikeTheLetters) {
  PreviewRun run(3);
  ASSERT_TRUE(run.waitForCall(1));
  run.press(Qt::Key_N, Qt::AltModifier);
  ASSERT_TRUE(run.waitForCall(2));
  run.press(Qt::Key_F, Qt::AltModifier);
  ASSERT_TRUE(run.waitForCall(3));
  run.press(Qt::Key_Q, Qt::AltModifier);
  ASSERT_TRUE(run.finish());
  EXPECT_EQ(run.answers(), (std::vector<int>{1, 2}));
}

TEST(PreviewStepping, FinalWindowIgnoresLastAndFinishAndClosesFromTheSystemMenuWithZero) {
  PreviewRun run(2, {.stepping = {}, .maximize = false});
  ASSERT_TRUE(run.waitForCall(1));
  run.pressText('l');
  ASSERT_TRUE(run.waitForCall(2));
  run.pressText('L');
  run.pressText('f');
  QCoreApplication::processEvents();
  EXPECT_TRUE(run.window()->waiting());  // still open
  run.window()->close();                 // the system menu's Close
  ASSERT_TRUE(run.finish());
  EXPECT_EQ(run.finalAnswer, 0);
}

TEST(PreviewStepping, SystemMenuCloseWhileSteppingAnswersZero) {
  PreviewRun run(3);
  ASSERT_TRUE(run.waitForCall(1));
  run.window()->close();
  ASSERT_TRUE(run.waitForCall(2));
  EXPECT_EQ(run.preview->pageCount(), 1);
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
  EXPECT_EQ(run.answers(), std::vector<int>{0});
}

TEST(PreviewStepping, WindowStaysOnScreenBetweenCallsAndLivesOnTheGuiThread) {
  PreviewRun run(3);
  ASSERT_TRUE(run.waitForCall(1));
  preview::PreviewWindow* window = run.window();
  EXPECT_EQ(window->thread(), QApplication::instance()->thread());
  EXPECT_TRUE(window->isVisible());
  run.press(Qt::Key_N);
  ASSERT_TRUE(run.waitForCall(2));
  EXPECT_EQ(run.window(), window);  // the same window, built once
  run.press(Qt::Key_L);
  ASSERT_TRUE(run.waitForCall(3));
  run.press(Qt::Key_Q);
  ASSERT_TRUE(run.finish());
}

TEST(PreviewStepping, TheWindowTakesInputWhileAReportsOptionsDialogIsModal) {
  QDialog options;
  options.setWindowModality(Qt::ApplicationModal);
  options.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
  PreviewRun run(2);
  ASSERT_TRUE(run.waitForCall(1));
  QWindow* window = run.window()->windowHandle();
  ASSERT_TRUE(window);
  // Through the window system, as a user's key arrives: a blocked window drops it.
  QTest::keyClick(window, Qt::Key_N);
  ASSERT_TRUE(run.waitForCall(2));
  QTest::keyClick(window, Qt::Key_Q);
  ASSERT_TRUE(run.finish());
  EXPECT_EQ(run.answers(), std::vector<int>{1});
  options.close();
}

}  // namespace
}  // namespace velmont::print::testing
