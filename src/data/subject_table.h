#pragma once
// The year's student-subject table ("STSUB" + two year digits): its fields, the
// widths that seek keys are built from, and its creation when a year has none.
#include <string>
#include <vector>

#include "dbf_file.h"

namespace velmont::data {

// Widths of the numeric fields that make up the subject index's key.
inline constexpr int kSubNumberWidth = 7;  // STSUB_NUMB
inline constexpr int kSubTermWidth = 1;    // STSUB_TERM
inline constexpr int kSubLineWidth = 2;    // STSUB_LINE
inline constexpr int kSubKeySize = kSubNumberWidth + kSubTermWidth + kSubLineWidth;

// The key of the index this program builds over a year's subjects: student
// number, term and line, each right-aligned in its field's width.
inline constexpr const char* kSubjectKeyExpression = "str(stsub_numb)+str(stsub_term)+str(stsub_line)";

// The fields of a year's student-subject table.
std::vector<FieldSpec> subjectTableFields();

// "STSUB" + the last two digits of a four-digit year: 2004 gives "STSUB04".
std::string subjectTableName(int year);

// The seek key of one student's subjects of a term, optionally from a line on:
// the bytes the index holds for those values (a prefix when line is 0).
std::string subjectSeekKey(double studentNumber, int term, int line = 0);

// Creates an empty student-subject table at `tablePath` (with its .dbt memo file);
// nothing is created when the file already exists.
void new_subyr(const std::string& tablePath);

}  // namespace velmont::data
