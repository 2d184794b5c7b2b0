#pragma once
// STPRINT1: the options dialog of the home-class list with subjects. It loads the
// user's saved options, offers the year level, home class, enrolment date, exam
// weight and four Yes/No choices, and starts a run on F4 (print) or F5 (preview);
// F6 changes the printer and ESC closes it, through the shared key handler.
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "reports/lists/list_options.h"
#include "reports/dialogs/prreqkeys.h"
#include "reports/common/run_report.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace velmont::school {
class Session;
}
namespace velmont::widgets {
class LmdDialog;
class PictureEdit;
}  // namespace velmont::widgets

namespace velmont::lists {

class ListDialog {
 public:
  ListDialog(school::Session& session, QWidget* owner, const std::string& reportCode);
  ~ListDialog();

  // Runs the dialog until ESC closes it.
  void exec();
  // PRINTIT: reads the entries, saves the options and starts the run; returns as
  // soon as the run's thread has started (the handle is kept until the next run).
  void PRINTIT(bool preview);

  // For tests and the key handler.
  widgets::LmdDialog* dialog() const { return dialog_; }
  const ListOptions& options() const { return options_; }
  QPushButton* printButton() const { return print_; }
  QPushButton* previewButton() const { return preview_; }
  QLabel* printerLabel() const { return printerLabel_; }
  std::shared_ptr<reports::RunHandle> lastRun() const { return run_; }
  QString cPrinter;
  std::vector<QString> printerSettings;  // the job settings chosen with F6

 private:
  void build();
  QGroupBox* radioGroup(double row, double column, const QString& caption, const QString& yes, const QString& no,
                        bool& value);

  school::Session& session_;
  std::string code_;
  QString c_name_;
  ListOptions options_;
  widgets::LmdDialog* dialog_ = nullptr;
  widgets::PictureEdit *year_ = nullptr, *class_ = nullptr, *date_ = nullptr, *weight_ = nullptr;
  QPushButton *print_ = nullptr, *preview_ = nullptr;
  QLabel *printerLabel_ = nullptr, *message_ = nullptr;
  reports::ReportKeys keys_;
  std::shared_ptr<reports::RunHandle> run_;
  bool runPreviews_ = false;  // run_ shows a preview (its window has its own stop)
};

// The menu's entry point: builds and runs the dialog for the report code.
void STPRINT1(school::Session& session, QWidget* owner, const std::string& reportCode);

// Registers STPRINT1 as the dialog of "L_Rpt_001".
void registerListDialog();

}  // namespace velmont::lists
