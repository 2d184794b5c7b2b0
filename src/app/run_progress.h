#pragma once
// HTML_PROG: the run progress bar in the main window's second progress line,
// redrawn on every tenth record that a run's main loop visits.
#include <QString>

namespace velmont::data {
class Table;
}

namespace velmont::app {

class ProgressDisplay;

inline constexpr int kProgressBarWidth = 23;

// The bar for a record's position in its table's physical order: whole
// characters of kProgressBarWidth, the fraction dropped.
QString progressBar(unsigned recno, unsigned recordCount);

// One call per record, with the loop's table (the current work area). The
// call counter is kept for the whole program run, so a second run may redraw
// before its tenth record. Safe to call from any run's thread.
void HTML_PROG(ProgressDisplay* display, data::Table& table);

}  // namespace velmont::app
