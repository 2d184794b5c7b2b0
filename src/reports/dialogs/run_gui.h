#pragma once
// The program's form of a run's user interface: the main window's progress
// boxes and bar, notices and message boxes from the run's thread, the preview
// windows, the error box, and the options dialog's buttons given back at the end.
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "pdf_save_question.h"
#include "reports/common/run_report.h"

class QPushButton;
class QWidget;

namespace velmont::school {
class Session;
}

namespace velmont::widgets {
class LmdDialog;
}

namespace velmont::reports {

// Places a report's options dialog over `owner` (the main window) but below
// its top bar, so that the progress box stays in sight while runs go on.
void placeBelowProgress(widgets::LmdDialog* dialog, QWidget* owner);

// Makes a report's options dialog modal (its own windows and the run's boxes
// come above it, and the menu's other commands wait) while the main window
// stays reachable: File > Exit and its close button ask to stop a run that
// prints, as the guide says. The dialog must have no parent widget.
void modalBesideMainWindow(widgets::LmdDialog* dialog);

// A RunUi for a run started from `dialog` (may be null). `buttons` are the
// dialog's Print and Preview buttons, enabled again when the run ends.
std::shared_ptr<RunUi> makeGuiRunUi(school::Session& session, widgets::LmdDialog* dialog,
                                    std::vector<QPointer<QPushButton>> buttons);

// ESC in an options dialog while its run prints: asks "Stop the report?" over
// `owner`, with the run held at its next card or student meanwhile; yes stops
// it there (nothing of it is printed or written). True when the user said yes.
bool askToStopRun(RunHandle& run, QWidget* owner);

// Before the program ends: when runs still work, asks over `mainWindow` whether
// to stop them (they are held meanwhile). No: false, and the runs go on. Yes:
// they are stopped, the preview windows and messages they wait on are
// answered, and they are waited for until their threads have ended; true.
bool endRunsBeforeLeaving(QWidget* mainWindow);

// The notice of an options dialog whose saved options could not be read
// (`problem` names the file and the fault): it opens with the defaults.
QString savedOptionsNotice(const QString& problem);

}  // namespace velmont::reports
