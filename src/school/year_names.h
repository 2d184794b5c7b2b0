#pragma once
// Year levels 1 to 20: what the school calls them (the flag files namibia.$vl
// and grade.$vl) and their two-character codes and fees in the control table
// SCCONTRO, whose record n describes level n.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "school_folder.h"

namespace velmont::data {
class Workspace;
}  // namespace velmont::data

namespace velmont::school {

inline constexpr int kYearLevels = 20;

struct YearNames {
  std::string word = " Year";  // YrGrd: " Year", "Grade" or line 1 of grade.$vl (79 wide)
  std::array<std::string, kYearLevels> names;  // aYrName: level n at [n - 1]; 10 blanks when unnamed
};

// A level's name as printed: the "&" that names keep doubled for widget labels
// (where a single one marks a shortcut) is single again ("Sixth && Seventh" prints
// "Sixth & Seventh").
std::string printedYearName(const std::string& name);

// YEAR_NAMES: reads the word and the level names from the flag files in the school's folder.
// Missing files are not an error.
YearNames YEAR_NAMES(const school::SchoolFolder& folder);

// The rules below find SCCONTRO in the school's folder. Each opens it in `ws` only when no
// work area has the alias "sccontro" and closes it again when it opened it;
// an open table is used as it is and left on its top record. A missing or
// damaged table throws DataError naming the file.

// yr_range: the display codes of the lowest and the highest level in use
// (fee amount not 0), levels 13 to 20 ranking above 12. Leaves the control
// table's work area selected.
void yr_range(data::Workspace& ws, const school::SchoolFolder& folder, std::string& start, std::string& end);

// The codes of the levels in use (fee amount not 0), lowest first, without
// their padding: what a refused year-level entry may be instead.
std::vector<std::string> yearCodesInUse(data::Workspace& ws, const school::SchoolFolder& folder);

// put_yrout: " 1" to "12" for levels 1 to 12, the level's PA_FE_NM for 13 to 20,
// two blanks otherwise. Reads the table only for levels above 12.
std::string put_yrout(data::Workspace& ws, const school::SchoolFolder& folder, int level);

// ent_yrin: the level a typed code stands for (its number, or the first record
// whose non-blank code begins with the text), 0 when none; always true.
bool ent_yrin(data::Workspace& ws, const school::SchoolFolder& folder, std::string_view typed, int& level);

// The entry check of the year-level fields without its message: chk_yrin shows
// the fees message for kNoFees (see the widget layer's year entry).
enum class YearCheck { kAccepted, kUnknown, kNoFees };
YearCheck checkYearEntry(data::Workspace& ws, const school::SchoolFolder& folder, std::string_view typed, int* level);

// The two lines of the fees message for the year-level word in force.
std::array<std::string, 2> yearFeesMessage(std::string_view yrGrd);

}  // namespace velmont::school
