#pragma once
// The options of one end-of-term run, as the dialog's start (or velmont-batch)
// hands them to the run on its worker thread.
#include <string>

#include "data/date.h"

namespace velmont::eot {

inline constexpr const char* kEotTitle = "End of Term Report";

struct EotOptions {
  int startYear = 0;       // start year level (a number, from ent_yrin)
  int endYear = 0;         // end year level
  std::string homeClass;   // trimmed entry; "" for every class
  std::string student;     // name part or student number; "-57" for past-student record 57
  std::string initial;     // first letter of the first or preferred name; "" for any
  data::Date asAt;         // enrolled as at this date
  std::string reduc_yr = "N";  // "Y": year levels printed one lower (prior year)
  // Option digits passed through unchanged; the cards do not use them.
  int nDoubl = 1, nDPage = 1, nPhoto = 2;
  std::string cPr_1, cPr_2;
};

}  // namespace velmont::eot
