#pragma once
// The subject grid of a student list: the students of one year level (and home
// class) enrolled on a date, the subjects they take this term as columns in code
// order with two summary columns, and each subject's class average.
#include <string>
#include <vector>

#include "list_run_context.h"
#include "school/subject_table.h"

namespace velmont::data {
class Table;
}

namespace velmont::lists {

// The combined mark of one student-subject record: the exam mark weighted by
// `examWeight` per cent and the assessment mark by the rest.
double combinedMark(double examWeight, double assessmentMark, double examMark);

// Rounds half up and cuts to a whole number: value + 0.5, cut.
int roundHalfUp(double value);

// The three-character cell of a number by the picture "@Z ###": blank for 0,
// asterisks when it does not fit.
std::string pictureZ3(double value);
std::string pictureZ4(double value);

// The selection filter's expression text over the bound values strt_yr, home_cl,
// null_dt and enrl_date; the home-class test only when `withClass`.
std::string studentFilterText(bool withClass);

// One student's subject records of a term, in line order.
struct SubjectMark {
  std::string code;  // STSUB_CODE, trailing blanks removed
  int line = 0;
  double exam = 0, assessment = 0;
};

// Seeks the student's records of term `term` in the open "STSUB" table (its
// subject index controlling) and reads them up to the next term or student.
std::vector<SubjectMark> termMarks(data::Table& stsub, double studentNumber, int term, long& seeks);

// PREP_HCLSUB: opens the tables on ctx.ws (building the year's subject table and
// index when missing), collects the students and the subject columns, fills
// num_stud and runs GR_AVGE. False when no subject was found.
bool PREP_HCLSUB(ListRunContext& ctx, bool subjectNames);

// GR_AVGE: each subject column's class average of the combined mark over the
// students with a non-zero mark (0 when there is none).
bool GR_AVGE(ListRunContext& ctx);

// The year's student-subject table in the data directory, and its index: created
// when missing (the only files besides the run's output that a run may create).
school::SubjectFiles ensureSubjectIndex(ListRunContext& ctx);

}  // namespace velmont::lists
