#pragma once
// The school's letterhead settings ("rvhplogo.dbf"): read into the flat list a
// report card hands to the letterhead printing, and the logo and watermark
// pictures found in the data directory.
#include <string>
#include <vector>

#include "school/school_folder.h"

namespace velmont::reports {

// LOAD_LHED: the 54 texts of the letterhead description, in the order the card
// expects (logo record first, then the text lines, the address window, the
// watermark and the card's elements). Numbers are right-aligned in their field's
// width, logicals "Y" or "N", texts in the school's code page (data/code_page.h).
// Creates the table when missing.
std::vector<std::string> LOAD_LHED(const school::SchoolFolder& folder);

// FIND_LOGO: the logo file to use ("prefix" + its name) or "" when there is
// none, with "school.gif" standing in for a missing logo; `w_mark` becomes the
// watermark file's name or "". Names are relative to the data directory and
// decoded from the table's code page (UTF-8).
std::string FIND_LOGO(const school::SchoolFolder& folder, const std::string& prefix, std::string& w_mark);

}  // namespace velmont::reports
