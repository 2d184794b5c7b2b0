#pragma once
// The one way from the user's choices to a class-list run: the options dialog,
// velmont-batch list, the benchmarks and the tests all build the request here.
#include <QString>
#include <string>

#include "list_run.h"
#include "reports/common/request_checks.h"
#include "school/session.h"

namespace velmont::lists {

// What the user asks of a list, as typed in the dialog or given on the command
// line. The refusals name the choices as velmont-batch's options do.
struct ListEntries {
  std::string level;          // the year level's code ("level")
  QString homeClass;          // "class"; "" for the whole level
  data::Date asAt;            // enrolled as at; empty for the processing date
  int weight = 100;           // the exam mark's weight in per cent
  bool subjectNames = false;  // subject names instead of codes above the columns
  ListChoices choices;        // birth dates, marks, shading
  std::string reportCode = kListReportCode;
  QString printerName;        // the device; "PDF" writes a file
  bool preview = false;
};

struct ListBuilt {
  ListRequest request;
  std::string yearCode;  // the level's code as the saved options hold it
};

// The request for the session's school, term and year. Throws
// reports::RequestRefused for a choice the run cannot start with, and
// data::DataError naming the file when the control table cannot be read.
ListBuilt listRequest(const school::SessionValues& session, const ListEntries& entries);

}  // namespace velmont::lists
