#pragma once
// Small helpers shared by the demo's table writers.
#include <string>
#include <vector>

#include "demo_school.h"
#include "school_files.h"

namespace velmont::batch {

// Full path of a file in the demo school's directory.
std::string demoPath(const DemoSchool& school, const std::string& file);

// Builds the index files of a school table the demo has written, with the
// demo's key expressions; returns their names joined for the summary.
std::string indexDemoTable(const DemoSchool& school, const SchoolTable& table);

// Writes a text file with CR LF line ends, as files made on the school's
// Windows machines have them.
void writeTextFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace velmont::batch
