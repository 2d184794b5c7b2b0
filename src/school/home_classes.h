#pragma once
// The home classes of a school: the class codes its students are in, which a
// report's home-class entry is checked against before a run selects by it.
#include <string>
#include <string_view>
#include <vector>

#include "school_folder.h"

namespace velmont::school {

// Every class code (ST_CLASS) of the students table, without trailing blanks or repeats,
// in byte order, as the school's code page holds them; blank ones left out.
// Throws data::DataError naming the table when it is missing or damaged.
std::vector<std::string> homeClassesInUse(const SchoolFolder& folder);

// True when a student's class begins with `entry` once trimmed, as the reports'
// selection compares it (a blank entry stands for every class).
bool homeClassInUse(const std::vector<std::string>& classes, std::string_view entry);

}  // namespace velmont::school
