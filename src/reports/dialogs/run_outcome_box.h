#pragma once
// The outcome of a run in the program: a box that stays in view until the
// user acknowledges it or starts the next run, with where the report went
// (the full path of its file or folder), how many pages or files were written,
// and buttons that open the PDF or its folder where the desktop can do that
// (where it cannot, the box says so).
#include <QString>
#include <QStringList>

class QWidget;

namespace velmont::reports {

struct RunOutcome;

struct OutcomeView {
  QStringList lines;  // what the box says
  QString file;       // a file written (PDF or text), "" for none
  QString folder;     // the folder that holds it, or that received one file per family
};

// What the box says and offers for a run's closing `text` and its outcome.
OutcomeView outcomeView(const QString& text, const RunOutcome& outcome);

// Shows the box over `owner` (the options dialog; the active window when
// null), replacing the one shown there before; it does not wait. On the GUI thread.
QWidget* showRunOutcome(QWidget* owner, const OutcomeView& view);

// Closes the box of `owner`, as the next run starts.
void closeRunOutcome(QWidget* owner);

}  // namespace velmont::reports
