#pragma once
// The installation record: the file "ccmp.dst" in the data directory, a dBASE
// table whose field C1 holds the school's name.
#include <string>
#include <string_view>
#include <vector>

#include "data/dbf_file.h"

namespace velmont::libs {

inline constexpr const char* kInstallationFile = "ccmp.dst";

// The structure of a new installation record.
std::vector<data::FieldSpec> installationFields();

// Turns the stored field C1 into the school's name. C1 holds the name as plain
// text, blank-padded, so that a school can set it with any table editor; the
// name comes back with blanks and control characters removed from both ends.
// `key` is what start-up passes (-1.0) and does not change the result.
std::string dekript(std::string_view c1, double key);

// The school's name from the installation record at `path`: "" when the file
// is missing. Throws data::DataError when it exists but cannot be read.
std::string schoolNameFrom(const std::string& path);

}  // namespace velmont::libs
