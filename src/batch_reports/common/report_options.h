#pragma once
// The options velmont-batch eot and list share, read the same way with the
// same words for the same mistake.
#include <string>
#include <vector>

#include "batch/arguments.h"
#include "data/date.h"
#include "school/school_folder.h"

namespace velmont::batch {

// --data-dir DIR (the current directory when absent); refused unless it is a
// directory.
school::SchoolFolder dataFolderOption(const Arguments& a);

// --as-at YYYY-MM-DD, read strictly ("2025-06-3O" is refused); the empty date
// when absent.
data::Date asAtOption(const Arguments& a);

// --term N, else the term that the school's term start dates give `date`, as
// the program works out the term from its processing date.
int termOption(const Arguments& a, const school::SchoolFolder& folder, const data::Date& date);

// Exactly one destination among `options` ("pdf", "text", ...), refused with
// the same words in every command.
void oneDestination(const Arguments& a, const std::vector<std::string>& options);

// --png DIR draws the pages again as pictures: it goes with every destination
// but a text file, which has no pictures to draw.
void pngGoesWithPages(const Arguments& a);

}  // namespace velmont::batch
