#include "run_progress.h"

#include <atomic>

#include "data/table.h"
#include "progress_display.h"

namespace velmont::app {
namespace {

std::atomic<int> gCalls{0};

// The bar element: a full block, shown in the fixed-pitch font of the line.
constexpr char16_t kBarElement = u'\u2588';

}  // namespace

QString progressBar(unsigned recno, unsigned recordCount) {
  if (recordCount == 0) return QString();
  const double share = double(recno) / double(recordCount);
  int length = int(share * kProgressBarWidth);
  if (length > kProgressBarWidth) length = kProgressBarWidth;
  if (length < 0) length = 0;
  return QString(length, QChar(kBarElement));
}

void HTML_PROG(ProgressDisplay* display, data::Table& table) {
  // Counts to ten and starts again; only the tenth call draws.
  int expected = gCalls.load();
  int next;
  do {
    next = expected + 1 == 10 ? 0 : expected + 1;
  } while (!gCalls.compare_exchange_weak(expected, next));
  if (next != 0) return;
  const QString bar = progressBar(table.recno(), table.reccount());
  if (display) display->setLine2(bar);
}

}  // namespace velmont::app
