#pragma once
// The page settings that the reports share and the printer dialog edits: the
// extra top margin and the logo height (control table "sccontro.dbf", record
// 3, fields PA_OPN_BAL and PA_NXT_TRN, in mm) and the watermark picture
// (letterhead table "rvhplogo.dbf", record 6, field LDE). No widgets here.
#include <string>
#include <vector>

#include "school/school_folder.h"

namespace velmont::printer {

inline constexpr int kDefaultLogoHeight = 12;  // what a stored logo height of 0 stands for

// What a stored number field can hold: its range and decimals (a numeric
// field of the control table), within the four characters the dialog's
// fields have always offered before the decimal point.
struct NumberCapacity {
  double minimum = -999;
  double maximum = 9999;
  int decimals = 0;
};

struct PrintSettings {
  double topMargin = 0;                   // mm
  double logoHeight = kDefaultLogoHeight; // mm; -1 prints no logo
  std::string watermark;                  // picture file name (UTF-8), "" for none
  NumberCapacity marginField, logoField;  // what PA_OPN_BAL and PA_NXT_TRN hold
  bool haveControl = false;               // "sccontro.dbf" exists: margin and logo height are saved
  bool haveLetterhead = false;            // "rvhplogo.dbf" exists: the watermark is saved
};

// Reads the settings of the school's folder. A missing control table leaves margin 0 and
// logo height 12; a missing letterhead table gives the watermark "rv_mark.gif"
// when that file exists, else "". A logo height of 0 reads as 12. A table that
// cannot be read (damaged, too short) keeps the defaults and is marked not to
// be saved, so that they never overwrite what it holds; the answer lists one
// message per such table, naming its file.
std::vector<std::string> readPrintSettings(const school::SchoolFolder& folder, PrintSettings& settings);

// Writes the settings back to the tables that exist, each record under its
// lock. Throws data::DataError naming the file when a table cannot be opened or
// written, a record is missing, a value does not fit its field, or another user
// holds the record's lock.
void writePrintSettings(const school::SchoolFolder& folder, const PrintSettings& settings);

// The pictures offered as watermarks: "none", the "*.bmp" files of `dir`, the
// "*.gif" files not named "TAB...", "KIDS..." or "STMENU...", the "*.jpg" files
// not named "SURFACE..." (prefixes compared as written), each group in name order.
std::vector<std::string> watermarkChoices(const std::string& dir);

}  // namespace velmont::printer
