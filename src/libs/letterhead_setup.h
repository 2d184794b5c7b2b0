#pragma once
// The letterhead settings table "rvhplogo.dbf": eleven records addressed by
// number, created with sensible defaults when a school has none.
//
// Units of the stored positions and sizes: lx, ly, lw and lh are in 0.1 mm,
// lx from the left and ly down from the top edge of the printable area, lw the
// width and lh the height of the element; lp is a point size. So lx 150, ly 80
// is 15 mm in and 8 mm down from the top-left corner the printer can reach.
#include <string>
#include <vector>

#include "data/dbf_file.h"

namespace velmont::libs {

inline constexpr const char* kLetterheadFile = "rvhplogo.dbf";
inline constexpr int kLetterheadRecords = 11;

// What each record describes (record numbers from 1).
enum LetterheadRecord {
  kLetterheadLine1 = 1,  // three text lines: lx, ly, lp, lbld, luln, lde = text
  kLetterheadLine2 = 2,
  kLetterheadLine3 = 3,
  kAddressWindow = 4,    // the window-envelope address block: lx, ly, lh, lw
  kLogo = 5,             // lde = picture file, lx, ly, lw
  kWatermark = 6,        // lde = picture file, lx, ly, lh, lw, lp (a strength in per cent)
  kCardTitle = 7,        // "End of Term Report": lx, ly, lh, lw, lp
  kStudentLine = 8,      // the student line
  kResultsTable = 9,     // the results grid
  kCommentBox = 10,      // the comment box: lx, ly, lw, lp
  kRankLegend = 11,      // the rank legend: lx, ly, lh, lp
};

// The structure of the table.
std::vector<data::FieldSpec> letterheadFields();

// Creates the letterhead table at `path` with its eleven default records when
// the file is missing; leaves an existing file alone. Line 1 is the school's
// name from the installation record at `installationPath` (blank when there is
// none); the logo record names "school.gif"; there is no watermark. The table
// is stamped with `languageDriver`.
void setup_lhed(const std::string& path, const std::string& installationPath, uint8_t languageDriver);

}  // namespace velmont::libs
