#include "run_progress.h"

#include <algorithm>

#include "progress_display.h"

namespace velmont::app {
namespace {

// The bar element: a full block, shown in the fixed-pitch font of the line.
constexpr char16_t kBarElement = u'\u2588';

// Reading the main table fills at most this share; counting fills the rest.
constexpr double kReadingShare = 0.5;

}  // namespace

QString progressBar(double share) {
  const int length = std::clamp(int(share * kProgressBarWidth), 0, kProgressBarWidth);
  return QString(length, QChar(kBarElement));
}

QString progressCountLine(int done, int total, double secondsSoFar) {
  QString line = QStringLiteral("%1 of %2 printed").arg(done).arg(total);
  if (done > 0 && secondsSoFar > 0) {
    const long left = done >= total ? 0 : long(secondsSoFar / done * (total - done) + 0.5);
    line += QStringLiteral(", %1:%2 left").arg(left / 60).arg(left % 60, 2, 10, QChar('0'));
  }
  return line;
}

void RunProgress::begin(const QString& scaleLine) {
  share_ = 0;
  read_ = 0;
  counting_ = false;
  base_ = 0;
  countLine_.clear();
  if (!display_) return;
  display_->setLine1(scaleLine);
  display_->setBar(0, progressBar(0));
}

void RunProgress::step(unsigned recordCount) {
  if (counting_) return;  // the count tells more
  ++read_;
  const double read = recordCount == 0 ? 1.0 : std::min(1.0, double(read_) / double(recordCount));
  show(read * kReadingShare);
}

void RunProgress::count(int done, int total) {
  if (total < 0) return;
  const Clock::time_point now = Clock::now();
  if (!counting_) {
    counting_ = true;
    base_ = share_;
    started_ = now;
  }
  const double part = total <= 0 ? 1.0 : std::min(1.0, double(std::max(done, 0)) / double(total));
  show(base_ + (1 - base_) * part);
  const QString line = progressCountLine(done, total, std::chrono::duration<double>(now - started_).count());
  if (line != countLine_ && display_) display_->setLine1(line);
  countLine_ = line;
}

void RunProgress::show(double share) {
  if (share <= share_) return;  // never back
  const bool redraw = progressBar(share) != progressBar(share_);
  share_ = share;
  if (display_ && redraw) display_->setBar(share_, progressBar(share_));
}

}  // namespace velmont::app
