#pragma once
// The words a report card prints that are not data: the editable headings table
// "headeots.dbf" and the heading texts of control records 2 to 6, with the
// defaults that stand in where a school left them blank.
#include <array>
#include <string>

#include "school/school_folder.h"

namespace velmont::data {
class Table;
}

namespace velmont::eot {

// The six short and long words of "headeots.dbf", as a run reads them.
struct HeadingWords {
  std::string poss_hd, totl_hd;  // short words, 4 characters as stored
  std::string subj_hd, page_hd, rptof_hd, prnt_hd, term_hd, year_hd;  // long words, trimmed
};

// The control table's headings: hd0 over the column groups, hd1 the rank
// columns' two lines, hd2 the mark columns' two lines, hd3 the four comment
// roles (label and three flags), hd4 the rank legend.
struct CardHeadings {
  std::array<std::string, 2> hd0;
  std::array<std::array<std::string, 2>, 4> hd1;
  std::array<std::array<std::string, 2>, 4> hd2;
  std::array<std::array<std::string, 4>, 4> hd3;
  std::string hd4;
};

// The school's own words that the defaults are made from.
struct SchoolWords {
  std::string cHomeCl = "Home Class";
  std::string cHouse = "House";
  std::string YrGrd = " Year";
};

inline constexpr const char* kHeadingsFile = "headeots.dbf";

// Creates "headeots.dbf" in the school's folder with its six default records; the sixth
// long word is the year-level word, trimmed and in capitals.
void MK_HDEOTS(const school::SchoolFolder& folder, const std::string& yrGrd);

// Reads the six records of "headeots.dbf" (creating it first when missing).
HeadingWords loadHeadingWords(const school::SchoolFolder& folder, const std::string& yrGrd);

// Loads the control table's headings from records 2 to 6 of `sccontro` and
// applies the defaults group by group; leaves the table on its first record.
CardHeadings set_eothd(data::Table& sccontro, const SchoolWords& words);

}  // namespace velmont::eot
