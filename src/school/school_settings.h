#pragma once
// Start-up's reading of the school's settings into the session values: the
// words for home class and house, the year names, the school's name from the
// installation record and the values of the control table.
#include "session.h"

namespace velmont::school {

// homecl.$vl and house.$vl (first line, at most 12 characters, trailing blanks
// removed) and YEAR_NAMES. Missing files leave the defaults.
void readSchoolWords(SessionValues& v);
// C_School from the installation record ccmp.dst ("" without one). Throws
// data::DataError naming the file when it cannot be read.
void readSchoolName(SessionValues& v);
// Gender, aHouse, aCottage from sccontro.dbf, and Parents from the presence of
// paparent.dbf. Throws data::DataError naming the file when it cannot be read.
void readControlValues(SessionValues& v);

// The first line of a small text file of the data directory, cut to `width`
// and without trailing blanks; "" when the file is missing.
std::string firstLineOf(const school::SchoolFolder& folder, const std::string& name, size_t width);

}  // namespace velmont::school
