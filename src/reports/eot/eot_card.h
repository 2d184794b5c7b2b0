#pragma once
// The routines that draw one end-of-term report card through the run's printer:
// the page top (letterhead, address block, student line, results grid) and the
// body (subject rows, co-curricular rows, rank legend, comments, continuation pages).
// All read and write the run's values in EotRunContext.
#include <string>
#include <vector>

#include "eot_run_context.h"

namespace velmont::eot {

// The box-drawing character of the student line's left end (a horizontal line).
extern const char16_t kHoriz;

// EOT_R_HD: the top of a card page. Starts a new page unless this is the run's
// first, asking the stepping preview window first; sets c.stopped when the user
// stops the run there (nothing is drawn then).
void EOT_R_HD(EotRunContext& c);
// EOT_HD1: the student line, then (with mrks_rpt and prblnk_lns) the results
// table heading, its empty grid and the card title.
void EOT_HD1(EotRunContext& c);
// EOT_HD1_TOP: the page number of continuation pages and the student line.
void EOT_HD1_TOP(EotRunContext& c);

// pr_lhead_now: the three letterhead lines and the logo of the letterhead
// description, within the rows above row 8. `logoHeight` is nPr_logoH (mm;
// 0 keeps the stored width, -1 draws no logo).
void pr_lhead_now(print::lmcPrn3& printer, const std::vector<std::string>& aLhd, const school::SchoolFolder& folder,
                  double logoHeight);

// EOT_MAINRPT: the body of one card copy, from the student-subject table's
// first line of the student's term, on as many pages as it needs.
void EOT_MAINRPT(EotRunContext& c);
// EOT_SUB: the current student-subject record's row (lines below 33) and its
// comment filed for printing.
void EOT_SUB(EotRunContext& c);

// The text of a filed comment: the comment bank's two lines with "#" as the
// student's first name, or the record's note, then two blanks and the teacher.
std::string commentText(EotRunContext& c, const FiledComment& entry);

// The text cut into memo lines of `width`: a line breaks at its last blank
// within the width; a word longer than the width is cut.
std::vector<std::string> memoLines(const std::string& text, size_t width);

// "@Z": the number in its field's width and decimals, or blanks when it is zero.
std::string pictureZ(double value, int width, int decimals);

}  // namespace velmont::eot
