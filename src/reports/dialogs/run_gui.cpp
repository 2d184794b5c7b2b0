#include "run_gui.h"

#include <QDir>
#include <QFrame>
#include <algorithm>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <atomic>

#include "app/error_handler.h"
#include "app/progress_display.h"
#include "app/run_progress.h"
#include "data/table.h"
#include "school/session.h"
#include "qtcore/gui_thread.h"
#include "widgets/lmd_controls.h"
#include "widgets/lmd_dialog.h"
#include "widgets/lmd_messages.h"
#include "print/page_printer.h"
#include "preview/preview_printer.h"
#include "run_outcome_box.h"

namespace velmont::reports {

namespace {

const QString kScaleLine = QStringLiteral("0   printing   50%   report  100%");

// Set once the user has chosen to stop the runs and leave the program.
std::atomic<bool> leaving{false};

// Answers what a stopped run may be waiting for on the GUI thread: a preview
// window answers "stop" when closed, a message box is closed.
void releaseRunWindows(QWidget* mainWindow) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || w == mainWindow) continue;
    if (w->objectName() == QLatin1String("previewWindow") || qobject_cast<QMessageBox*>(w)) w->close();
  }
}

class GuiRunUi : public RunUi {
 public:
  GuiRunUi(school::Session& session, widgets::LmdDialog* dialog, std::vector<QPointer<QPushButton>> buttons)
      : session_(session), dialog_(dialog), buttons_(std::move(buttons)) {}

  void progressBegin() override {
    if (app::ProgressDisplay* p = app::ProgressDisplay::ofMainWindow()) p->showFrame(true);
    progress_ = app::RunProgress(app::ProgressDisplay::ofMainWindow());
    progress_.begin(kScaleLine);
  }
  void progressStep(data::Table& table) override { progress_.step(table.reccount()); }
  void progressCount(int printed, int total) override { progress_.count(printed, total); }
  void progressEnd() override {
    if (app::ProgressDisplay* p = app::ProgressDisplay::ofMainWindow()) {
      p->setLine1(QStringLiteral(" "));
      p->setLine2(QStringLiteral(" "));
      p->showFrame(false);
    }
  }
  // While the program ends, a stopped run asks and tells nothing more.
  void notice(const QString& text) override {
    if (!leaving) widgets::lmdQMsg(text);
  }
  // The closing word stays in view, with where the report went, until the
  // user has seen it or starts the next run.
  void outcome(const QString& text, const RunOutcome& outcome) override {
    if (leaving) return;
    widgets::lmdQMsgClose();  // a passing notice (the index being built) is over
    const OutcomeView view = outcomeView(text, outcome);
    QPointer<widgets::LmdDialog> dialog = dialog_;
    qtcore::later(nullptr, [dialog, view] { showRunOutcome(dialog, view); });
  }
  void message(const QStringList& lines) override {
    if (!leaving) widgets::lmdMsg(lines, 14);
  }
  std::unique_ptr<print::PreviewDocument> newPreview() override {
    return std::make_unique<preview::lmcPrv3>();
  }
  int previewWindow(print::PreviewDocument& preview, bool stepping) override {
    if (leaving) return 0;  // stop
    // A passing notice (the index being built) is over once there is a page to show.
    widgets::lmdQMsgClose();
    print::PwinOptions options;
    if (stepping) options.stepping = true;
    const int answer = preview.openPwin(options);
    if (stepping) session_.set(&school::SessionValues::prevChoice, answer);
    return answer;
  }
  void failure(std::exception_ptr error, const std::string& operation) override {
    app::showErrorBox(app::describeException(error, operation), false);
  }
  void handleKeys(bool on) override {
    QPointer<widgets::LmdDialog> dialog = dialog_;
    if (dialog) qtcore::postToGui(dialog, [dialog, on] { dialog->lHandleKeys = on; });
  }
  void finished() override {
    for (const QPointer<QPushButton>& b : buttons_)
      if (b) widgets::lmdEnable(b, true);
  }

 private:
  school::Session& session_;
  app::RunProgress progress_{nullptr};
  QPointer<widgets::LmdDialog> dialog_;
  std::vector<QPointer<QPushButton>> buttons_;
};

}  // namespace

std::shared_ptr<RunUi> makeGuiRunUi(school::Session& session, widgets::LmdDialog* dialog,
                                    std::vector<QPointer<QPushButton>> buttons) {
  closeRunOutcome(dialog);  // a new run: the last one's outcome has been seen
  return std::make_shared<GuiRunUi>(session, dialog, std::move(buttons));
}

void placeBelowProgress(widgets::LmdDialog* dialog, QWidget* owner) {
  app::ProgressDisplay* progress = app::ProgressDisplay::ofMainWindow();
  if (!dialog || !owner || !progress || !progress->rule(2)) return;
  dialog->growToChildren();
  QFrame* boxBottom = progress->rule(2);
  const int clear = boxBottom->mapToGlobal(QPoint(0, boxBottom->height())).y() + 4;
  const QRect over = owner->window()->geometry();
  const int x = over.center().x() - dialog->width() / 2;
  const int y = std::max(over.center().y() - dialog->height() / 2, clear);
  dialog->move(x, y);  // the frame's top: its title bar starts below the box
}

void modalBesideMainWindow(widgets::LmdDialog* dialog) {
  // Window-modal without a parent window blocks no other window, yet the
  // dialog counts as modal: what it opens stacks above it.
  dialog->setWindowModality(Qt::WindowModal);
}

bool askToStopRun(RunHandle& run, QWidget* owner) {
  run.control().pause();
  const bool stop = widgets::lmdYesNo(
      {QStringLiteral("Stop the report?"),
       QStringLiteral("It stops after the card or student being printed, and nothing of it is printed or saved.")},
      owner);
  if (stop) run.control().stop();
  run.control().resume();
  return stop;
}

bool endRunsBeforeLeaving(QWidget* mainWindow) {
  std::vector<std::shared_ptr<RunHandle>> runs = workingRuns();
  if (runs.empty()) return true;
  for (const auto& run : runs) run->control().pause();
  const bool stop = widgets::lmdYesNo(
      {QStringLiteral("Stop the report?"),
       QStringLiteral("A report is still being printed. If it stops, nothing of it is printed or saved and the "
                      "program ends.")},
      mainWindow);
  for (const auto& run : runs) {
    if (stop) run->control().stop();
    run->control().resume();
  }
  if (!stop) return false;
  leaving = true;
  for (const auto& run : runs) {
    // The run may be showing a window when it is stopped: it is answered, and
    // the run ends at its next card or student.
    qtcore::waitOnGui([&] {
      releaseRunWindows(mainWindow);
      return run->done();
    });
    run->wait();  // joins its thread
  }
  leaving = false;  // no run is left to ask or tell anything
  return true;
}

QString savedOptionsNotice(const QString& problem) {
  return QStringLiteral("Your saved choices could not be read, so the defaults are shown (") + problem +
         QStringLiteral(").");
}

}  // namespace velmont::reports
