#pragma once
// The main window's progress objects: two progress lines (oProgMain1,
// oProgMain2) and the four rules that frame them while a run goes on
// (oProgBoxl1 to oProgBoxl4). Every call may come from a run's thread; the
// change is made on the GUI thread.
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <array>

namespace velmont::app {

class ProgressDisplay {
 public:
  ProgressDisplay(QLabel* line1, QLabel* line2, const std::array<QFrame*, 4>& rules);

  // oProgMain1: the scale line, e.g. "0   printing   50%   report  100%".
  void setLine1(const QString& text);
  // oProgMain2: the bar.
  void setLine2(const QString& text);
  // The bar for `share` of the run (0 to 1); the share is kept on the bar's
  // label as its property "share" (for tests that watch the run).
  void setBar(double share, const QString& bar);
  // Shows or hides the four rules.
  void showFrame(bool visible);
  // Clears both lines and hides the rules, as a run does at its end.
  void reset();

  QLabel* line1() const { return line1_; }
  QLabel* line2() const { return line2_; }
  QFrame* rule(int i) const { return rules_[size_t(i)]; }

  // The main window's display while the main window exists, null before and
  // after; a run's thread may ask.
  static ProgressDisplay* ofMainWindow();
  static void setOfMainWindow(ProgressDisplay* display);

 private:
  QPointer<QLabel> line1_, line2_;
  std::array<QPointer<QFrame>, 4> rules_;
};

}  // namespace velmont::app
