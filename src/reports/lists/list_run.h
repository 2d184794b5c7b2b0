#pragma once
// PR_STUDENTS: one run of the student list with subjects, on the calling thread
// (the worker thread of a dialog's run, or velmont-batch), through the shared run
// machinery: before the printer is created it prepares the grid and turns the
// page to landscape for a wide grid (so the page's size is the turned one); on
// the started document it prints the grid.
#include <QString>
#include <QTime>
#include <array>
#include <memory>
#include <string>

#include "data/date.h"
#include "list_print.h"
#include "reports/common/run_report.h"

namespace velmont::lists {

inline constexpr const char* kListReportCode = "L_Rpt_001";
inline constexpr double kListPitch = 26;  // every column is 2.6 mm wide

struct ListRequest {
  // Report code, title, printer name, preview, data directory, text file, PDF file
  // and device maker; `portrait` and `pitch` are not used (the list decides both).
  reports::RunRequest run;
  // The printer dialog's ten job settings (copies, orientation, paper bin,
  // resolution, collation, colour, duplex, font mode, form size, print file);
  // empty when the dialog was not used. Entries that are not numbers are skipped.
  std::vector<QString> printerSettings;

  int strt_yr = 0;
  std::string home_cl;
  data::Date enrl_date;
  double C_assex = 100;
  bool subjectNames = false;
  ListChoices choices;

  // Session values, copied when the run is asked for.
  int term = 1;
  int year = 0;
  data::Date date;
  std::string cHomeCl = "Home Class";
  std::string school;
  std::string title = "Velmont Program";
  std::string hdAscii = "Y";
  QTime timeOfDay;  // the headings' time; the current time when not valid
};

struct ListOutcome {
  bool ran = false;        // the printer was created and the list run to its end
  bool printed = false;    // the grid was printed (subjects and students found)
  bool nothingMatched = false;  // no student matched: nothing was printed or written
  bool stopped = false;    // the user stopped the run: nothing was printed or written
  QString destination;     // where the pages went ("" for a preview)
  int pages = 0;
  int columns = 0;         // grid columns, summary columns included
  int students = 0;        // students listed
  long seeks = 0;          // seeks in the year's subject table
  bool landscape = false;
  QString error;           // the message shown when a file's fault stopped the run
};

// The whole run; never throws (a file's fault is shown through ui.message, any
// other failure through ui.failure). ui.finished() is its very last step.
ListOutcome PR_STUDENTS(const ListRequest& request, reports::RunUi& ui);

// PR_STUDENTS on a thread of its own; returns at once.
std::shared_ptr<reports::RunHandle> startList(ListRequest request, std::shared_ptr<reports::RunUi> ui);

// Applies the ten printer settings in their order to a printer not yet created.
void applyPrinterSettings(print::lmcPrn3& printer, const std::vector<QString>& settings);

}  // namespace velmont::lists
