#pragma once
// The values that the routines of one end-of-term run share: created when the
// run's selection starts, changed per student and per card copy, gone with the run.
#include <string>
#include <vector>

#include "school/session.h"
#include "data/date.h"
#include "eot_headings.h"

namespace velmont::data {
class Table;
class Workspace;
}  // namespace velmont::data

namespace velmont::print {
class lmcPrn3;
class PreviewDocument;
}  // namespace velmont::print

namespace velmont::reports {
class RunUi;
struct RunSetup;
}

namespace velmont::eot {

class CardObserver;

// One filed comment of a card copy: label, reference and teacher.
struct FiledComment {
  std::string subc;  // label, 20 characters: subject name or comment role
  double comm = 0;   // comment number when positive; the negated record number of a note
  std::string stff;  // teacher's name, or the teacher code when the staff table lacks it
};

struct EotRunContext {
  // Headings of the card (control table and headings table).
  CardHeadings hd;  // hd0 .. hd4
  HeadingWords words;  // poss_hd, subj_hd, totl_hd, page_hd, rptof_hd, prnt_hd, term_hd, year_hd

  std::string C_Prt_Rep = "N";  // the card's boxes and bars are drawn by the program
  std::string C_Prt_Lhd;        // letterhead option: third character of FUND_OPTN in control record 2
  bool Hd_prtd = false;         // the current card's header has been drawn
  std::vector<std::string> aLhd;  // letterhead description, 54 texts
  std::string reduc_yr;           // "Y" prints the year level reduced by 1

  std::string name1;  // first name used in the no-parents address line
  double ln = 0;      // current row
  int subln = 0;      // current subject-line counter
  std::string filtn;  // the selection expression
  data::Date enrl_date;
  std::string instud;  // the student name-or-number entry
  std::string ininit;  // the student initial entry
  bool Frst_Time = true;
  bool mrks_rpt = false;
  bool prblnk_lns = false;

  // The card's student.
  std::string cStu_nam1, cStu_nam2;
  double nStu_num = 0;
  int nStu_Yr = 0;
  // The five address lines of the card copy: title, street, town, extra line, postcode.
  std::string pa_ti, pa_st, pa_tn, pa_ext, pa_pc;
  int pg_no = 1;

  bool lPreview = false;
  print::lmcPrn3* oP = nullptr;  // the run's printer or preview
  print::PreviewDocument* oPrv = nullptr;  // the same object when previewing

  // Run-wide values the card routines read.
  school::SessionValues session;  // a copy taken when the run started
  double logoHeight = 0;     // nPr_logoH: letterhead logo height in mm (0 default, -1 none)
  double topMargin = 0;      // the page's extra top margin, 0.1 mm (a text file's paper has it too)
  int nPrev_Choice = 1;        // the preview window's last answer
  bool stopped = false;        // the user stopped the run in a preview window
  reports::RunUi* ui = nullptr;
  // The shared run: asked before each card whether the user stopped the run,
  // told after each card printed (null in tests that draw single cards).
  reports::RunSetup* run = nullptr;
  data::Workspace* ws = nullptr;

  // The run's tables, open on its thread.
  data::Table* st = nullptr;       // students, name order
  data::Table* stsub = nullptr;    // the year's student subjects, by number, term and line
  data::Table* subjects = nullptr;
  data::Table* comment = nullptr;
  data::Table* staff = nullptr;

  // The comments of the card copy being drawn, and the position of the next one to print.
  std::vector<FiledComment> comments;
  size_t nxtcomm = 0;  // next comment to print (index into comments)
  bool pr_cocurr_hd = false;

  // Figures of the run.
  int cards = 0;  // card copies drawn

  // Told where each card copy begins (one file per family or student), or null.
  CardObserver* cardObserver = nullptr;
  // The card's family as the file split names it: code, surname and e-mail.
  std::string familyCode, familySurname, familyEmail;
};

}  // namespace velmont::eot
