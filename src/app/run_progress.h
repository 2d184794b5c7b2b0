#pragma once
// The run progress bar in the main window's top bar: the share of the run
// done, which never goes back. A run may first read its main table (one step
// per record, before it knows what it will print) and then print, counting
// what it printed of its total. Reading fills the bar up to half; counting
// fills the rest, from wherever reading left it, in proportion to the cards
// or students printed. While counting, the scale line gives way to the count
// and the time left at the rate so far.
#include <QString>
#include <chrono>

namespace velmont::app {

class ProgressDisplay;

inline constexpr int kProgressBarWidth = 23;

// The bar for a share of the run (0 to 1): whole characters of
// kProgressBarWidth, the fraction dropped.
QString progressBar(double share);

// "12 of 120 printed, 0:05 left": the count, and the time left once known.
QString progressCountLine(int done, int total, double secondsSoFar);

class RunProgress {
 public:
  using Clock = std::chrono::steady_clock;
  explicit RunProgress(ProgressDisplay* display) : display_(display) {}

  // The run starts: the scale line, an empty bar.
  void begin(const QString& scaleLine);
  // One record of the run's main table read; `recordCount` is the table's size.
  void step(unsigned recordCount);
  // `done` cards or students printed of `total` (-1: not known).
  void count(int done, int total);
  // The share shown now, 0 to 1.
  double share() const { return share_; }

 private:
  void show(double share);

  ProgressDisplay* display_;
  double share_ = 0;
  unsigned read_ = 0;      // records read before counting began
  bool counting_ = false;
  double base_ = 0;        // the share when counting began
  Clock::time_point started_{};
  QString countLine_;
};

}  // namespace velmont::app
