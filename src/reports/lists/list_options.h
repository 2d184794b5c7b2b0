#pragma once
// The list report's saved options: what the two option strings of "L_Rpt_001"
// hold position by position, their defaults, and the strings a run writes back.
#include <string>

#include "school/saved_options.h"

namespace velmont::lists {

struct ListOptions {
  std::string yearCode;   // positions 1-2, as put_yrout gives it (" 7")
  std::string homeClass;  // from position 5, trailing blanks removed
  char nGrid = '1';       // position 9, written back as read
  bool birthDates = false;  // position 10: "1" yes
  bool marks = false;       // position 11: "1" yes
  bool names = false;       // position 12: "2" names, "1" codes
  bool shading = false;     // position 13: "1" yes
  int nSequn = 0;           // position 14, one digit (a blank reads as 0)
  int weight = 100;         // RPT_EXTRAS 1-3: the exam mark's weight in per cent
};

// The options of a user who has none: the default year range's codes, then
// "    12212  "; the extras "100".
school::SavedOptions defaultListOptions(const std::string& startCode, const std::string& endCode);

// Reads the option strings; `homeClassLength` is the width of the home-class entry.
ListOptions readListOptions(const school::SavedOptions& saved, int homeClassLength);

// The strings a run saves: 15 and 40 characters.
std::string listPrefs(const ListOptions& o);
std::string listExtras(const ListOptions& o);

}  // namespace velmont::lists
