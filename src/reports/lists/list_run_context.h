#pragma once
// The values that the routines of one student-list run share: created when the
// run starts, filled by the grid preparation, read by the grid printing.
#include <array>
#include <string>
#include <vector>

#include "data/date.h"

namespace velmont::print {
class lmcPrn3;
}

namespace velmont::lists {

// One collected student: the eleven values of a grid row.
using StudentEntry = std::array<std::string, 11>;

// A subject met while collecting: its code and record number in the subjects table.
struct SubjectRef {
  std::string code;
  uint32_t recno = 0;
};

struct ListRunContext {
  double ln = 0;  // current print row
  int P_No = 0;   // page number; 1 when printing starts
  std::string hdl1, hdl2;  // column-heading lines under the letterhead
  print::lmcPrn3* oP = nullptr;

  std::vector<StudentEntry> fld_a;    // collected students
  std::vector<StudentEntry> field_a;  // the same, sorted by name
  std::vector<std::string> subj_cod;  // grid columns: codes,
  std::vector<double> subj_max;       // maximum marks,
  std::vector<std::string> subj_curic;  // subject types,
  std::vector<std::string> subj_hdg;    // headings,
  std::vector<double> subj_gavg;        // class averages,
  std::vector<int> num_stud;            // and students per column
  std::vector<SubjectRef> subj_sort, subj2_sort;  // subjects met, and sorted by code
  int col_extras = 2;  // summary columns after the subjects
  int box_sz = 3;      // width of one grid column, in columns

  std::string Gender;  // the school's coding of the sexes
  double nPr_logoH = 0;
  int strt_yr = 0;
  std::string home_cl;
  data::Date enrl_date;
  double C_assex = 60;  // the exam mark's weight in per cent
  bool lPreview = false;
  std::string Rept_Head;
};

}  // namespace velmont::lists
