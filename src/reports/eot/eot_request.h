#pragma once
// The one way from the user's choices to an end-of-term run: the options dialog,
// velmont-batch eot, the benchmarks and the tests all build the request here.
#include <QString>
#include <string>

#include "eot_options.h"
#include "reports/common/request_checks.h"
#include "reports/common/run_report.h"
#include "school/session.h"

namespace velmont::eot {

// What the user asks of a card run, as typed in the dialog or given on the
// command line. The refusals name the choices as velmont-batch's options do.
struct EotChoices {
  std::string from, to;              // year-level codes ("from", "to"); "" for the lowest and highest in use
  QString homeClass;                 // "class"; "" for every class
  QString student, initial;          // "student", "initial"; "" for every student
  data::Date asAt;                   // enrolled as at; empty for the processing date
  bool reduceYear = false;           // last year's cards, with year levels one lower
  std::string savedPrefs;            // the user's saved options (their option digits); "" for the defaults
  QString printerName;               // the device; "PDF" writes a file
  bool preview = false;
};

struct EotRequest {
  reports::RunRequest run;
  EotOptions options;
  std::string prefs;  // RPT_PARAMS as a run saves them for the user
};

// The request for the session's school, term and year. Throws
// reports::RequestRefused for a choice the run cannot start with, and
// data::DataError naming the file when the control table cannot be read.
EotRequest eotRequest(const school::SessionValues& session, const EotChoices& choices);

}  // namespace velmont::eot
