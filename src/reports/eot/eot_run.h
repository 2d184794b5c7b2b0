#pragma once
// The end-of-term run: PR_EOT_RPTS runs on the run's thread through the shared
// run machinery and hands the started printer to EOT_PR_RDY, which loads the
// headings, opens the tables, builds the year's subject index when it is
// missing, selects the students and draws their card copies.
#include <string>

#include "school/session.h"
#include "eot_options.h"
#include "reports/common/run_report.h"

namespace velmont::eot {

class CardObserver;

// What a run drew, for velmont-batch and the benchmarks.
struct EotFigures {
  int students = 0;  // students selected
  int cards = 0;     // card copies drawn
  bool stopped = false;  // the user stopped the run in a preview window
};

// The column pitch of the cards: every column is 2.6 mm wide.
inline constexpr double kEotPitch = 26;

// The request of an end-of-term run for the session's school and plain-text
// choice, on `printerName` (the dialog's printer), printed or previewed.
reports::RunRequest eotRunRequest(const school::SessionValues& session, const QString& printerName, bool preview);

// PR_EOT_RPTS: the whole run on the calling thread (the dialog starts it on a
// thread of its own; velmont-batch and tests call it directly).
// `cards`, when given, is told where each card copy begins (one file per family or student).
reports::RunOutcome PR_EOT_RPTS(const reports::RunRequest& request, const EotOptions& options,
                                const school::SessionValues& session, reports::RunUi& ui, EotFigures* figures = nullptr,
                                CardObserver* cards = nullptr);

// EOT_PR_RDY: the selection and card loop of a started run.
void EOT_PR_RDY(reports::RunSetup& setup, const EotOptions& options, const school::SessionValues& session,
                EotFigures* figures = nullptr, CardObserver* cards = nullptr);

// The notice shown while the year's subject index is built.
inline constexpr const char* kIndexingNotice = "Indexing Student Subjects .. please wait";

// The notice of a run in a school without the families table.
inline constexpr const char* kNoFamiliesNotice =
    "paparent.dbf is missing: the cards are addressed \"To the Parents of\" each student, and no copies go to "
    "extra report addresses.";


// The message that the year has no subject records (its student-subject table
// is missing or holds no record), so that its cards would be blank; empty when
// it has some. A damaged table throws data::DataError naming it.
QString yearWithoutSubjects(const school::SchoolFolder& folder, int year);

// The numeric value of an entry as the table system reads typed numbers:
// leading blanks, a sign and digits ("-57" is -57, "smith" is 0, "12b" is 12).
double entryNumber(const std::string& text);

}  // namespace velmont::eot
