#pragma once
// The values that the routines of one student-list run share: created when the
// run starts, filled by the grid preparation, read by the grid printing.
#include <QTime>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/date.h"
#include "reports/common/report_heading.h"

namespace velmont::data {
class Table;
class Workspace;
}  // namespace velmont::data

namespace velmont::print {
class lmcPrn3;
class PreviewDocument;
}

namespace velmont::lists {

// One collected student: the eleven values of a grid row (see the positions below).
using StudentEntry = std::array<std::string, 11>;
inline constexpr int kEntryName = 0;     // surname and first name, 20 characters
inline constexpr int kEntryNumber = 5;   // ST_NUMBER as text
inline constexpr int kEntryClass = 6;    // ST_CLASS
inline constexpr int kEntryBirth = 8;    // ST_DOB as "YYYYMMDD"

// A subject met while collecting: its code and record number in the subjects table
// (0 when the code is missing there).
struct SubjectRef {
  std::string code;
  uint32_t recno = 0;
};

struct ListRunContext {
  double ln = 0;  // current print row
  int P_No = 0;   // page number; 1 when printing starts
  std::vector<reports::HeadingColumn> hdl1, hdl2;  // column-heading lines under the letterhead
  print::lmcPrn3* oP = nullptr;

  std::vector<StudentEntry> fld_a;    // collected students
  std::vector<StudentEntry> field_a;  // the same, sorted by name
  std::vector<std::string> subj_cod;  // grid columns: codes,
  std::vector<double> subj_max;       // maximum marks,
  std::vector<std::string> subj_curic;  // subject types,
  std::vector<std::string> subj_hdg;    // headings,
  std::vector<double> subj_gavg;        // class averages,
  std::vector<int> cnt_gavg;            // students counted for them,
  std::vector<int> num_stud;            // and students per column
  std::vector<SubjectRef> subj_sort, subj2_sort;  // subjects met, and sorted by code
  int col_extras = 2;  // summary columns after the subjects
  int box_sz = 3;      // width of one grid column, in columns

  std::string Gender;  // the school's coding of the sexes
  double nPr_logoH = 0;
  int strt_yr = 0;
  std::string home_cl;
  data::Date enrl_date;
  double C_assex = 100;  // the exam mark's weight in per cent
  bool lPreview = false;
  std::string Rept_Head;

  // Session values the run reads, copied when it starts.
  school::SchoolFolder folder;
  int C_Term = 1;
  int C_Year = 0;
  data::Date C_Date;
  std::string cHomeCl = "Home Class";
  std::string C_School;
  std::string C_Title;
  std::string C_Hd_Ascii = "Y";
  int nPrev_Choice = 1;

  // The run's work areas (the worker thread's own).
  data::Workspace* ws = nullptr;
  // One step of the progress bar per student collected (may be empty).
  std::function<void(data::Table&)> progressStep;
  // Shows a message box of one to three lines (may be empty).
  std::function<void(const std::vector<std::string>&)> message;
  // Shows a passing notice (may be empty).
  std::function<void(const std::string&)> notice;
  // Shows the stepping preview window before a new page; its answer (may be empty:
  // the preview's own window).
  std::function<int(print::PreviewDocument&)> stepWindow;
  // Asked before each student is read or printed: true when the user stopped
  // the run, which then ends at once (may be empty: never).
  std::function<bool()> stopAsked;
  // Told after each student's row is printed, with the student's name (may be empty).
  std::function<void(const std::string&)> printedOne;
  // The time the page headings print; the current time when not valid.
  QTime timeOfDay;
  // Seeks made in the student-subject table, for the benchmark.
  long seeks = 0;
};

}  // namespace velmont::lists
