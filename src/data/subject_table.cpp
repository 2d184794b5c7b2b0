#include "subject_table.h"

#include "file.h"
#include "numeric.h"

namespace velmont::data {

std::vector<FieldSpec> subjectTableFields() {
  return {
      {"STSUB_NUMB", 'N', kSubNumberWidth, 0},
      {"STSUB_TERM", 'N', kSubTermWidth, 0},
      {"STSUB_LINE", 'N', kSubLineWidth, 0},
      {"STSUB_CODE", 'C', 6, 0},
      {"STSUB_EMRK", 'N', 3, 0},
      {"STSUB_EMEN", 'N', 5, 1},
      {"STSUB_AMRK", 'N', 3, 0},
      {"STSUB_AMEN", 'N', 5, 1},
      {"STSUB_HOMW", 'C', 1, 0},
      {"STSUB_EFFT", 'C', 1, 0},
      {"STSUB_CONT", 'C', 1, 0},
      {"STSUB_BEHV", 'C', 1, 0},
      {"STSUB_COMM", 'N', 4, 0},
      {"STSUB_NOTE", 'M', 10, 0},
      {"STSUB_TCHR", 'C', 4, 0},
  };
}

std::string subjectTableName(int year) {
  const int yy = ((year % 100) + 100) % 100;
  return std::string("STSUB") + char('0' + yy / 10) + char('0' + yy % 10);
}

std::string subjectSeekKey(double studentNumber, int term, int line) {
  std::string key = formatStr(studentNumber, kSubNumberWidth, 0) + formatStr(term, kSubTermWidth, 0);
  if (line > 0) key += formatStr(line, kSubLineWidth, 0);
  return key;
}

void new_subyr(const std::string& tablePath) {
  if (Env::current()->exists(tablePath)) return;
  DbfFile::create(tablePath, subjectTableFields());
}

}  // namespace velmont::data
