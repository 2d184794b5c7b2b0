#pragma once
// Printing the student list with subjects from the prepared grid: the heading block
// of each page, one row per student, and the closing row of students per subject.
#include <string>

#include "list_run_context.h"

namespace velmont::lists {

struct ListChoices {
  bool birthDates = false;
  bool marks = false;
  bool shading = false;
};

// The text shown when the selection holds no student.
inline constexpr const char* kNoStudents = "There are no Students matching these options";
inline constexpr const char* kNoSubjects = "No subjects found for these options; nothing was listed.";

// PRNT_HCLSUB: prints the whole list on ctx.oP; false (after the message) when
// there is no student.
bool PRNT_HCLSUB(ListRunContext& ctx, const std::string& reportCode, const ListChoices& choices);

// PR_S_HDGS: the heading block at the top of a page; false when the user
// stopped the run in the stepped preview, and nothing was drawn.
bool PR_S_HDGS(ListRunContext& ctx, const ListChoices& choices);

// PROM_S_MK: the subject cells, average and total of student k of field_a.
void PROM_S_MK(ListRunContext& ctx, size_t k, bool marks);

// FIN_S_TAIL: the closing row with the number of students per column.
void FIN_S_TAIL(ListRunContext& ctx);

// The heading text: the title, the year level's code, the class, the term and,
// when it differs from the processing date, the enrolment date.
std::string listHeading(const ListRunContext& ctx, const std::string& yearCode);

}  // namespace velmont::lists
